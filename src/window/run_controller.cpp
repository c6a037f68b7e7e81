#include "window/run_controller.h"

#include <QThread>

#include <utility>

namespace pestrolik {

// Lives on the run's thread: it reads the flags the window sets and reports progress
// as signals, which reach the window queued.
class RunController::ThreadHost : public RunHost {
public:
    explicit ThreadHost(RunController& owner) : owner_(owner) {}

    RunVerdict verdict() override { return owner_.verdict_; }
    void yield() override {}  // nothing to turn: the window's loop runs on its own
    bool stillBackground() override { return owner_.still_; }
    void pictureStarted(int frameNo) override { emit owner_.pictureStarted(frameNo); }
    void frameStripChanged(int step) override { emit owner_.frameStripChanged(step); }
    void totalStripChanged(int step) override { emit owner_.totalStripChanged(step); }
    void percentChanged(int percent) override { emit owner_.percentChanged(percent); }

private:
    RunController& owner_;
};

RunController::RunController(QObject* parent) : QObject(parent), host_(std::make_unique<ThreadHost>(*this)) {}

RunController::~RunController() {
    if (!thread_) return;
    exit();
    thread_->wait();
    delete thread_;
}

bool RunController::start(RunRequest request, SinkOpener openSink) {
    if (busy()) return false;
    verdict_ = RunVerdict::Continue;
    still_ = request.stillBackground;
    thread_ = QThread::create([this, request = std::move(request), openSink = std::move(openSink)] {
        const RunResult result = runGeneration(request, *host_, openSink);
        QMetaObject::invokeMethod(this, [this, result] { onThreadDone(result); }, Qt::QueuedConnection);
    });
    thread_->start();
    return true;
}

void RunController::onThreadDone(const RunResult& result) {
    thread_->wait();
    delete std::exchange(thread_, nullptr);
    emit finished(result);
}

}  // namespace pestrolik
