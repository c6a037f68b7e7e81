#pragma once
// Hosts a run on a terminal: a progress bar on stderr; Ctrl-C and the other signals
// that ask a program to end act as STOP.

#include "generation/run_host.h"

#include <cstdio>

namespace pestrolik {

class TerminalHost : public RunHost {
public:
    TerminalHost(bool showProgress, bool stillBackground);
    ~TerminalHost() override;

    // From now on SIGINT, SIGTERM, SIGHUP and SIGQUIT stop the run instead of killing
    // the process (one ignored by whoever started us stays ignored), and a file grown
    // past the size limit is a write error instead of a kill.
    static void catchSignals();
    // The signal that stopped the run; 0 if none came.
    static int caughtSignal();

    RunVerdict verdict() override;
    void yield() override {}
    bool stillBackground() override { return still_; }
    void pictureStarted(int frameNo) override;
    void frameStripChanged(int) override {}
    void totalStripChanged(int) override {}
    void percentChanged(int percent) override;

private:
    void draw();

    bool showProgress_;
    bool still_;
    int frameNo_ = 0;
    int percent_ = 0;
    bool drawn_ = false;
};

}  // namespace pestrolik
