#pragma once
// Where the GIF writer's bytes go. A file, a memory buffer and a test recorder are
// all the same to the writer.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pestrolik {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Appends bytes; false once anything failed (the sink stays failed).
    virtual bool write(std::span<const uint8_t> bytes) = 0;
    // Makes everything written durable and closes; false if that failed. A file gets
    // its final name only here, and never over something already there: then this
    // answers false with failureReason() EEXIST and keeps the bytes for finishAs().
    virtual bool finish() = 0;
    // After finish() found its name taken: the same bytes under `path` instead.
    virtual bool finishAs(const std::string& path) { (void)path; return false; }
    // Closes and throws away everything written (a file is deleted). Safe to call twice.
    virtual void discard() = 0;
    // The errno behind the last failure; 0 when unknown.
    virtual int failureReason() const { return 0; }
};

// Keeps the bytes in memory; used for tests, benchmarks and the frame encoder's staging.
class MemorySink : public ByteSink {
public:
    bool write(std::span<const uint8_t> bytes) override {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return true;
    }
    bool finish() override { finished_ = true; return true; }
    void discard() override { bytes_.clear(); discarded_ = true; }

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    bool finished() const { return finished_; }
    bool discarded() const { return discarded_; }

private:
    std::vector<uint8_t> bytes_;
    bool finished_ = false;
    bool discarded_ = false;
};

}  // namespace pestrolik
