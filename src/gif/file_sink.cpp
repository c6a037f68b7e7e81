#include "gif/file_sink.h"

#include "gif/file_sink_temporaries.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace pestrolik {

namespace {

constexpr size_t bufferBytes = 1 << 16;
constexpr mode_t newFileMode = 0666;  // narrowed by the umask, as for any new file

std::string folderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// Where unnamed files are not supported: a hidden name no picture name can clash with.
int openHiddenTemporary(const std::string& folder, std::string& hiddenPath) {
    static std::atomic<unsigned> serial{0};
    int fd;
    do {  // a name left by an earlier process of the same number is passed by
        hiddenPath = folder + "/" + hiddenTemporaryName(::getpid(), serial++);
        fd = ::open(hiddenPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, newFileMode);
    } while (fd < 0 && errno == EEXIST);
    if (fd >= 0) holdTemporary(fd);
    return fd;
}

// Syncs the folder so that the new name survives a power cut too; best effort.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::unique_ptr<FileSink> FileSink::createNew(const std::string& path, CreateError& error, Temporary temporary) {
    // The final name is only claimed at the end; this look tells a taken name (and a
    // name the system refuses) before any work is done.
    struct stat entry;
    if (::lstat(path.c_str(), &entry) == 0) {
        error = {CreateError::AlreadyExists, EEXIST};
        return nullptr;
    }
    const int lookError = errno;
    if (lookError != ENOENT || std::filesystem::path(path).filename().empty()) {
        error = {CreateError::CannotCreate, lookError};  // a path without a name: ENOENT
        return nullptr;
    }
    const std::string folder = folderOf(path);
    sweepDeadTemporaries(folder);
    std::string hiddenPath;
    int fd = temporary == Temporary::Unnamed ? ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, newFileMode) : -1;
    // Where unnamed files are not supported; any other reason fails the hidden file too,
    // and that is the reason told.
    if (fd < 0) fd = openHiddenTemporary(folder, hiddenPath);
    if (fd < 0) {
        error = {CreateError::CannotCreate, errno};
        return nullptr;
    }
    return std::unique_ptr<FileSink>(new FileSink(fd, path, hiddenPath));
}

FileSink::FileSink(int fd, std::string path, std::string hiddenPath)
    : fd_(fd), path_(std::move(path)), hiddenPath_(std::move(hiddenPath)) {
    buffer_.reserve(bufferBytes);
}

FileSink::~FileSink() {
    // A sink dropped without finishing holds an unfinished file: it must not stay behind.
    if (!finished_) discard();
}

bool FileSink::fail(int errorNumber) {
    failed_ = true;
    reason_ = errorNumber;
    return false;
}

bool FileSink::write(std::span<const uint8_t> bytes) {
    if (failed_ || fd_ < 0) return false;
    if (buffer_.size() + bytes.size() > bufferBytes && !flushBuffer()) return false;
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    return buffer_.size() < bufferBytes || flushBuffer();
}

bool FileSink::flushBuffer() {
    size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(errno);
        done += static_cast<size_t>(n);
    }
    buffer_.clear();
    return true;
}

bool FileSink::finish() { return finishAs(path_); }

bool FileSink::finishAs(const std::string& path) {
    if (finished_) return path == path_;
    if (failed_ || fd_ < 0) return false;
    if (!synced_) {
        if (!flushBuffer()) return false;
        if (::fsync(fd_) != 0) return fail(errno);
        synced_ = true;
    }
    return giveName(path);
}

// Links the synced bytes to `path`. A link never replaces anything: a taken name is
// EEXIST, and the bytes stay for another try.
bool FileSink::giveName(const std::string& path) {
    int result;
    if (hiddenPath_.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        result = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW);
        if (result != 0 && errno != EEXIST) {
            const int first = errno;
            // Without /proc: the same by descriptor, allowed to privileged processes.
            result = ::linkat(fd_, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH);
            if (result != 0 && errno != EEXIST) errno = first;
        }
    } else {
        // A second name first, then the hidden one goes: a link never replaces anything.
        result = ::link(hiddenPath_.c_str(), path.c_str());
        if (result == 0) {
            ::unlink(hiddenPath_.c_str());
            hiddenPath_.clear();
        }
    }
    if (result != 0) {
        reason_ = errno;
        if (errno != EEXIST) failed_ = true;
        return false;
    }
    ::close(fd_);  // the bytes were synced before the name was given
    fd_ = -1;
    path_ = path;
    finished_ = true;
    syncFolder(folderOf(path));
    return true;
}

void FileSink::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!hiddenPath_.empty()) {
        ::unlink(hiddenPath_.c_str());
        hiddenPath_.clear();
    }
    buffer_.clear();
}

}  // namespace pestrolik
