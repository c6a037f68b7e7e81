#pragma once
// Hosts a run on a terminal: a progress bar on stderr, Ctrl-C as STOP.

#include "generation/run_host.h"

#include <cstdio>

namespace pestrolik {

class TerminalHost : public RunHost {
public:
    TerminalHost(bool showProgress, bool stillBackground);
    ~TerminalHost() override;

    // Ctrl-C from now on stops the run instead of killing the process.
    static void catchInterrupt();

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
