#pragma once
// Standard output as a ByteSink, for "--out -" and "--song -". What went out cannot
// be taken back: a run that fails or is stopped leaves a cut-off stream, which the
// exit code reports.

#include "gif/byte_sink.h"

#include <cerrno>
#include <cstdio>

namespace pestrolik {

class StdoutSink : public ByteSink {
public:
    bool write(std::span<const uint8_t> bytes) override {
        if (!failed_ && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) fail();
        return !failed_;
    }
    bool finish() override {
        if (!failed_ && std::fflush(stdout) != 0) fail();
        return !failed_;
    }
    void discard() override {}
    int failureReason() const override { return reason_; }

private:
    void fail() {
        failed_ = true;
        reason_ = errno;  // set by the write that failed
    }

    bool failed_ = false;
    int reason_ = 0;
};

}  // namespace pestrolik
