#pragma once
// A new file on disk as a ByteSink. It is created exclusively, so an existing file
// is never truncated, even one that appeared after the caller last looked.

#include "gif/byte_sink.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace pestrolik {

enum class CreateError {
    None,
    AlreadyExists,  // something is already at the path: never overwritten
    CannotCreate,   // missing folder, no permission, read-only medium, ...
};

class FileSink : public ByteSink {
public:
    // Creates `path` (UTF-8) for writing; on failure returns null and sets `error`.
    static std::unique_ptr<FileSink> createNew(const std::string& path, CreateError& error);
    ~FileSink() override;

    bool write(std::span<const uint8_t> bytes) override;
    bool finish() override;
    void discard() override;

    const std::string& path() const { return path_; }

private:
    FileSink(std::FILE* file, std::string path);
    bool flushBuffer();

    std::FILE* file_;
    std::string path_;
    std::vector<uint8_t> buffer_;  // writes are gathered into large blocks
    bool failed_ = false;
    bool finished_ = false;
    bool discarded_ = false;
};

}  // namespace pestrolik
