// LD_PRELOAD shim: refuses unnamed files (open with O_TMPFILE) as a file system without
// them does, so that pestrolik-render takes its hidden-temporary path.

#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>

namespace {

template <typename Open>
int refuseUnnamed(const char* name, const char* path, int flags, va_list modeArgument) {
    const mode_t mode = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(modeArgument, mode_t) : 0;
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    static const auto real = reinterpret_cast<Open>(dlsym(RTLD_NEXT, name));
    return real(path, flags, mode);
}

}  // namespace

extern "C" int open(const char* path, int flags, ...) {
    va_list mode;
    va_start(mode, flags);
    const int fd = refuseUnnamed<int (*)(const char*, int, ...)>("open", path, flags, mode);
    va_end(mode);
    return fd;
}

extern "C" int open64(const char* path, int flags, ...) {
    va_list mode;
    va_start(mode, flags);
    const int fd = refuseUnnamed<int (*)(const char*, int, ...)>("open64", path, flags, mode);
    va_end(mode);
    return fd;
}
