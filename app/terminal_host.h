#pragma once
// Hosts a run on a terminal: a progress bar on stderr; Ctrl-C and every other signal
// that would end the program act as STOP.

#include "generation/run_host.h"

#include <cstdio>

namespace pestrolik {

class TerminalHost : public RunHost {
public:
    TerminalHost(bool showProgress, bool stillBackground);
    ~TerminalHost() override;

    // From now on a file grown past the size limit is a write error instead of a kill,
    // and the signals of generation/ending_signals.h stop the run instead of killing
    // the process (one ignored by whoever started us stays ignored). Not when writing
    // to standard output: with no file to remove, the signals keep their ways there, and
    // a reader that goes away or a kill ends the program at once, as any filter.
    static void catchSignals(bool writingToStdout);
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
