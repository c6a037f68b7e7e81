#pragma once
// A real file sink whose name someone else takes ("squatter" in a plain file) while
// the file is being made: the name is free when the run starts and taken at its end.

#include "generation/generation_run.h"

#include <fstream>

namespace pestrolik::testing {

inline SinkOpener squattingOpener() {
    return [](const std::string& path, CreateError& error) -> std::unique_ptr<ByteSink> {
        std::unique_ptr<FileSink> file = FileSink::createNew(path, error);
        if (file) std::ofstream(path) << "squatter";
        return file;
    };
}

}  // namespace pestrolik::testing
