// LD_PRELOAD shim: refuses unnamed files (open with O_TMPFILE) as a file system without
// them does, so that pestrolik-render takes its hidden-temporary path.

#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>

extern "C" int open(const char* path, int flags, ...) {
    va_list rest;
    va_start(rest, flags);
    const bool tmpfile = (flags & O_TMPFILE) == O_TMPFILE;
    const mode_t mode = (flags & O_CREAT) || tmpfile ? va_arg(rest, mode_t) : 0;
    va_end(rest);
    static const auto real = reinterpret_cast<int (*)(const char*, int, ...)>(dlsym(RTLD_NEXT, "open"));
    return tmpfile ? (errno = EOPNOTSUPP, -1) : real(path, flags, mode);
}

extern "C" int open64(const char* path, int flags, ...) __attribute__((alias("open")));
