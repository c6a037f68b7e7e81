#pragma once
// What a generation run needs from whoever hosts it: the window (event loop,
// progress strips, STOP and closing), the headless renderer (terminal bar, Ctrl-C)
// or a test recorder.

namespace pestrolik {

enum class RunVerdict {
    Continue,
    Stop,  // the user pressed STOP: delete the file, report the interruption
    Exit,  // the program is closing: delete the file, then end the program
};

class RunHost {
public:
    virtual ~RunHost() = default;

    // Asked at the start of every encoded row, and once more before a frame's final codes.
    virtual RunVerdict verdict() = 0;
    // Lets the user interface handle pending events: after rows and rings, and every
    // few milliseconds while frames from worker threads are awaited.
    virtual void yield() = 0;
    // Read anew for every frame's background: as it begins to be drawn, or with worker
    // threads as it is handed to them. Every call is made on the run's own thread.
    virtual bool stillBackground() = 0;

    // Progress, each reported only when its value changes.
    virtual void pictureStarted(int frameNo) = 0;   // 1..frameCount
    virtual void frameStripChanged(int step) = 0;   // 0..32
    virtual void totalStripChanged(int step) = 0;   // 0..32
    virtual void percentChanged(int percent) = 0;   // 0..100
};

}  // namespace pestrolik
