#pragma once
// The signals that end a program unless it catches them, and that it can catch: each
// of them must end a run as STOP does, so that no unfinished file stays behind. The
// faults (SIGSEGV, SIGBUS, ...) are left out: after one, nothing can be trusted to
// clean up. SIGXFSZ is left out too: the programs ignore it, so that a file grown past
// the size limit fails its write (EFBIG) and is removed as any failed file.

#include <csignal>

namespace pestrolik {

inline constexpr int endingSignals[] = {
    SIGINT,  SIGTERM,   SIGHUP,  SIGQUIT, SIGALRM, SIGPIPE, SIGUSR1,
    SIGUSR2, SIGVTALRM, SIGPROF, SIGXCPU, SIGIO,   SIGPWR,  SIGSTKFLT,
};

}  // namespace pestrolik
