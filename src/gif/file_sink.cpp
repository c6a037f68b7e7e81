#include "gif/file_sink.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace pestrolik {

namespace {

constexpr size_t bufferBytes = 1 << 16;

std::filesystem::path fromUtf8(const std::string& path) {
    return std::filesystem::path(reinterpret_cast<const char8_t*>(path.c_str()));
}

void removeFile(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(fromUtf8(path), ignored);
}

}  // namespace

std::unique_ptr<FileSink> FileSink::createNew(const std::string& path, CreateError& error) {
    const std::filesystem::path target = fromUtf8(path);
    // "x": fail if anything is there, decided by the file system in the same step as
    // the creation, so a file that appeared a moment ago is not truncated either.
    std::FILE* file = std::fopen(target.string().c_str(), "wbx");
    if (!file) {
        std::error_code ignored;
        error = (errno == EEXIST || std::filesystem::exists(target, ignored)) ? CreateError::AlreadyExists
                                                                             : CreateError::CannotCreate;
        return nullptr;
    }
    error = CreateError::None;
    return std::unique_ptr<FileSink>(new FileSink(file, path));
}

FileSink::FileSink(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {
    buffer_.reserve(bufferBytes);
}

FileSink::~FileSink() {
    // A sink dropped without finish() holds an unfinished file: it must not stay behind.
    if (!finished_) discard();
}

bool FileSink::write(std::span<const uint8_t> bytes) {
    if (failed_ || !file_) return false;
    if (buffer_.size() + bytes.size() > bufferBytes && !flushBuffer()) return false;
    if (bytes.size() >= bufferBytes) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
        return !failed_;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    return true;
}

bool FileSink::flushBuffer() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        failed_ = true;
    buffer_.clear();
    return !failed_;
}

bool FileSink::finish() {
    if (!file_) return !failed_ && finished_;
    bool ok = !failed_ && flushBuffer();
    ok = (std::fflush(file_) == 0) && ok;
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    if (!ok) {
        failed_ = true;
        removeFile(path_);
        return false;
    }
    finished_ = true;
    return true;
}

void FileSink::discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!finished_ && !discarded_) removeFile(path_);
    discarded_ = true;
    buffer_.clear();
}

}  // namespace pestrolik
