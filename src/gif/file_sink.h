#pragma once
// A new file on disk as a ByteSink. The bytes go into a temporary file in the target
// folder that no one sees under the final name; finish() makes them durable and only
// then gives them that name, never replacing anything. So a file under the final name
// is always whole, whatever ends the program: a kill or a power cut leaves at most an
// unnamed file, or on file systems without unnamed files a hidden ".pestrolik-*.part",
// which the next sink made in that folder removes (gif/file_sink_temporaries.h).

#include "gif/byte_sink.h"

#include <memory>
#include <string>
#include <vector>

namespace pestrolik {

// Why a sink could not be made.
struct CreateError {
    enum Kind {
        None,
        AlreadyExists,  // something is already at the path: never overwritten
        CannotCreate,   // missing folder, no permission, read-only medium, ...
    };
    CreateError(Kind k = None, int errorNumber = 0) : kind(k), reason(errorNumber) {}
    friend bool operator==(const CreateError& e, Kind k) { return e.kind == k; }

    Kind kind;
    int reason;  // the errno behind it, 0 when unknown
};

class FileSink : public ByteSink {
public:
    enum class Temporary {
        Unnamed,  // an unnamed file where the file system has them, else a hidden one
        Hidden,   // always the hidden, dot-named file
    };
    // Prepares `path` (UTF-8) for writing; on failure returns null and sets `error`.
    static std::unique_ptr<FileSink> createNew(const std::string& path, CreateError& error,
                                               Temporary temporary = Temporary::Unnamed);
    ~FileSink() override;

    bool write(std::span<const uint8_t> bytes) override;
    bool finish() override;
    bool finishAs(const std::string& path) override;
    void discard() override;
    int failureReason() const override { return reason_; }

    // The final name; after finishAs() the name actually given.
    const std::string& path() const { return path_; }

private:
    FileSink(int fd, std::string path, std::string hiddenPath);
    bool flushBuffer();
    bool fail(int errorNumber);
    bool giveName(const std::string& path);

    int fd_;
    std::string path_;
    std::string hiddenPath_;  // the dot-named temporary; empty for an unnamed file
    std::vector<uint8_t> buffer_;  // writes are gathered into large blocks
    int reason_ = 0;
    bool failed_ = false;
    bool synced_ = false;
    bool finished_ = false;
};

}  // namespace pestrolik
