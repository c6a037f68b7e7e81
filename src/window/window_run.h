#pragma once
// The START/STOP button's run inside the window: validation and refusals, the
// running look, progress, STOP and closing, and the report at the end. Frames are
// drawn and encoded on worker threads, one per core, and written in order on the
// window's thread, which keeps the event loop turning while it waits for them.

#include "generation/generation_run.h"
#include "generation/picture_params.h"
#include "generation/run_host.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

namespace pestrolik {

class RunWindow;
struct Controls;
struct WindowServices;

class WindowRun : public QObject, public RunHost {
public:
    // Everything given is the window's and outlives the run.
    WindowRun(RunWindow& window, const Controls& controls, WindowServices& services, QObject* parent);

    // A click of Command1: START when idle, STOP during a run. A START returns when
    // its run has ended.
    void click();

    bool active() const { return runActive_; }
    bool onStack() const { return onStack_; }  // a run is executing, perhaps stopped and unwinding
    const QString& outputPath() const { return outputPath_; }
    const PictureParams& params() const { return params_; }

    // The event loop turns at most this often during a run (0: at every yield).
    void setTurnIntervalMs(int ms) { turnIntervalMs_ = ms; }
    // Worker threads for the next run (1: all on the window's thread); one per core at first.
    void setJobs(int jobs) { jobs_ = jobs; }

    // RunHost
    RunVerdict verdict() override;
    void yield() override;
    bool stillBackground() override;
    void pictureStarted(int frameNo) override;
    void frameStripChanged(int step) override;
    void totalStripChanged(int step) override;
    void percentChanged(int percent) override;

private:
    void start();
    void stopClick();
    void refuseExistingFile();
    void reportFailure(const RunResult& result);
    void showIdleLook();
    void clearProgress();
    void endOfRun();
    void finishReport();
    void openResult();
    void endProgramAfterClosing();

    RunWindow& window_;
    const Controls& c_;
    WindowServices& services_;

    bool runActive_ = false;
    bool onStack_ = false;
    bool skipFinish_ = false;
    QString outputPath_;
    PictureParams params_;
    QElapsedTimer sinceTurn_;
    int turnIntervalMs_ = 15;
    int jobs_;
};

}  // namespace pestrolik
