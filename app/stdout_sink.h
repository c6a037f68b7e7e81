#pragma once
// Standard output as a ByteSink, for "--out -" and "--song -". What went out cannot
// be taken back: a run that fails or is stopped leaves a cut-off stream, which the
// exit code reports.

#include "gif/byte_sink.h"

#include <cstdio>

namespace pestrolik {

class StdoutSink : public ByteSink {
public:
    bool write(std::span<const uint8_t> bytes) override {
        failed_ = failed_ || std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size();
        return !failed_;
    }
    bool finish() override { return (std::fflush(stdout) == 0) && !failed_ && !std::ferror(stdout); }
    void discard() override {}

private:
    bool failed_ = false;
};

}  // namespace pestrolik
