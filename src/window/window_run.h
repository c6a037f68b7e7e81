#pragma once
// The START/STOP button's run inside the window: validation and refusals, the
// running look, progress, STOP and closing, and the report at the end. The run itself
// goes on a thread of the controller's; START returns to the event loop at once.

#include "generation/generation_run.h"
#include "generation/picture_params.h"
#include "window/after_run.h"

#include <QObject>
#include <QString>

namespace pestrolik {

class RunController;
class RunWindow;
struct Controls;
struct WindowServices;

class WindowRun : public QObject {
    Q_OBJECT

public:
    // Everything given is the window's and outlives the run.
    WindowRun(RunWindow& window, const Controls& controls, WindowServices& services, QObject* parent);

    // A click of Command1: START when idle, STOP during a run.
    void click();
    // The window has closed: a run going is given up and then ends the program,
    // otherwise the program ends now.
    void windowClosed();

    bool active() const { return runActive_; }
    // A run's thread is going, perhaps stopped and unwinding.
    bool busy() const;
    const QString& outputPath() const { return outputPath_; }
    const PictureParams& params() const { return params_; }

    // Worker threads for the next run (1: drawing on the run's thread alone); one per core at first.
    void setJobs(int jobs) { jobs_ = jobs; }

signals:
    // A run has ended and the window has done all that follows it.
    void ended();

private:
    void start();
    bool startRequest(int frameCount, int pictureSize);
    void stopClick();
    void finish(const RunResult& result);
    void showBox(AfterBox box, const RunResult& result);
    void showIdleLook();
    void clearProgress();
    void connectProgress();

    RunWindow& window_;
    const Controls& c_;
    WindowServices& services_;
    RunController* controller_;

    bool runActive_ = false;
    QString outputPath_;
    PictureParams params_;
    int jobs_;
};

}  // namespace pestrolik
