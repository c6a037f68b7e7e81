#include "gif/file_sink_temporaries.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pestrolik {

namespace {

constexpr std::string_view prefix = ".pestrolik-";
constexpr std::string_view suffix = ".part";

// Digits only, no leading zero, as std::to_string writes them.
bool readNumber(std::string_view digits, long long& value) {
    if (digits.empty() || digits[0] == '0') return false;  // too many: from_chars refuses
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size();
}

bool processAlive(int pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_ino == b.st_ino && a.st_dev == b.st_dev; }

// Removes `name` when no one holds it: a live writer holds its temporary, whatever pid
// it seems to have (another pid namespace, another machine on a shared folder). Only a
// plain file is opened, never waiting (no FIFO, no device). The name must still lead to
// the file held, so a temporary made anew under it since the folder was read stays.
void removeUnheld(int folder, const char* name) {
    struct stat before, held, named;
    if (::fstatat(folder, name, &before, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(before.st_mode)) return;
    const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
        ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(held, named))
        ::unlinkat(folder, name, 0);
    ::close(fd);
}

}  // namespace

std::string hiddenTemporaryName(int pid, unsigned serial) {
    return std::string(prefix) + std::to_string(pid) + "-" + std::to_string(serial) + std::string(suffix);
}

std::optional<int> hiddenTemporaryOwner(std::string_view name) {
    if (!name.starts_with(prefix) || !name.ends_with(suffix)) return std::nullopt;
    name = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    const size_t dash = name.find('-');
    long long pid = 0, serial = 0;
    if (dash == std::string_view::npos || !readNumber(name.substr(0, dash), pid) || pid > std::numeric_limits<int>::max()) return std::nullopt;
    const std::string_view serialDigits = name.substr(dash + 1);
    if (!(serialDigits == "0" || readNumber(serialDigits, serial))) return std::nullopt;
    return static_cast<int>(pid);
}

// A pid is reused once its process is gone, so a live process with the pid of a
// temporary need not be the one that wrote it: such a temporary is kept, and only
// waits for a later sweep. The other way round cannot happen: a writer names its
// temporary after its own pid and lives while it writes, so a pid that exists for no
// process means the writer is gone.
bool deadProcessTemporary(std::string_view name, const std::function<bool(int pid)>& alive) {
    const std::optional<int> owner = hiddenTemporaryOwner(name);
    return owner && !alive(*owner);
}

void holdTemporary(int fd) { ::flock(fd, LOCK_EX | LOCK_NB); }

void sweepDeadTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir))
        if (deadProcessTemporary(entry->d_name, processAlive)) removeUnheld(::dirfd(dir), entry->d_name);
    ::closedir(dir);
}

}  // namespace pestrolik
