#pragma once
// One run at a time on a thread of its own, which owns the run's workers and its
// writer. The window asks it to start, stop or give up, and hears back by queued
// signals on its own thread; it never waits for the run.

#include "generation/generation_run.h"

#include <QObject>

#include <atomic>
#include <memory>

class QThread;

namespace pestrolik {

class RunController : public QObject {
    Q_OBJECT

public:
    explicit RunController(QObject* parent = nullptr);
    // A run still going is told the program is closing and waited for: its file goes.
    ~RunController() override;

    // Starts `request` unless a run is still busy (false then).
    bool start(RunRequest request, SinkOpener openSink);
    // From the start until its `finished` has been delivered, STOP's unwinding included.
    bool busy() const { return thread_ != nullptr; }
    void stop() { verdict_ = RunVerdict::Stop; }
    void exit() { verdict_ = RunVerdict::Exit; }
    // Read for each frame as it is handed out, so a change reaches the later frames.
    void setStillBackground(bool still) { still_ = still; }

signals:
    void pictureStarted(int frameNo);
    void frameStripChanged(int step);
    void totalStripChanged(int step);
    void percentChanged(int percent);
    // The run's thread has ended; the partial file, if any, is gone.
    void finished(const pestrolik::RunResult& result);

private:
    class ThreadHost;
    void onThreadDone(const RunResult& result);

    QThread* thread_ = nullptr;
    std::unique_ptr<ThreadHost> host_;
    std::atomic<RunVerdict> verdict_ = RunVerdict::Continue;
    std::atomic<bool> still_ = false;
};

}  // namespace pestrolik
