#include "window/window_run.h"

#include "generation/file_naming.h"
#include "generation/run_inputs.h"
#include "messages/run_messages.h"
#include "window/controls.h"
#include "window/next_file_name.h"
#include "window/progress_strip.h"
#include "window/run_controller.h"
#include "window/run_window.h"
#include "window/start_button.h"
#include "window/utf8_text.h"
#include "window/window_services.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace pestrolik {

WindowRun::WindowRun(RunWindow& window, const Controls& controls, WindowServices& services, QObject* parent)
    : QObject(parent),
      window_(window),
      c_(controls),
      services_(services),
      controller_(new RunController(this)),
      jobs_(std::max(1, QThread::idealThreadCount())) {
    connectProgress();
    connect(controller_, &RunController::finished, this, &WindowRun::finish);
    connect(c_.check3, &QCheckBox::toggled, controller_, &RunController::setStillBackground);
}

// After a STOP click the idle look stays, whatever the unwinding run still reports.
void WindowRun::connectProgress() {
    connect(controller_, &RunController::pictureStarted, this, [this](int frameNo) {
        if (runActive_) c_.label9->setText(QStringLiteral("Создаётся картинка  №  ") + QString::number(frameNo));
    });
    connect(controller_, &RunController::frameStripChanged, this, [this](int step) {
        if (runActive_) c_.picture1->showStep(step);
    });
    connect(controller_, &RunController::totalStripChanged, this, [this](int step) {
        if (runActive_) c_.picture2->showStep(step);
    });
    connect(controller_, &RunController::percentChanged, this, [this](int percent) {
        if (runActive_) c_.label7->setText(QString::number(percent) + QStringLiteral(" %  готово"));
    });
}

bool WindowRun::busy() const { return controller_->busy(); }

void WindowRun::click() {
    // A START while a stopped run is still unwinding is ignored: one run at a time.
    if (busy() && !runActive_) return;
    c_.check4->setEnabled(true);
    if (!c_.check4->isChecked()) chooseParameters(params_, services_.clock, services_.random);
    if (runActive_)
        stopClick();
    else
        start();
}

void WindowRun::windowClosed() {
    if (busy())
        controller_->exit();
    else
        services_.endProgram();
}

void WindowRun::start() {
    runActive_ = true;
    c_.timer1->start();
    c_.command1->setText(QString::fromUtf8(stopCaption));
    const RunInputs inputs = readRunInputs(c_.text1->text().toStdString(), c_.text2->text().toStdString());
    if (inputs.problem != InputProblem::None) {
        services_.messages.show(MessageIcon::Exclamation, fromUtf8(inputProblemTitle),
                                fromUtf8(inputProblemMessage(inputs.problem)));
        showIdleLook();  // no "СТОП" left on an idle window
        return;
    }
    if (!c_.check4->isChecked()) params_.refSize = inputs.pictureSize;
    outputPath_ = c_.text3->text();
    window_.setCaption(QString::fromUtf8(windowCaption) + QStringLiteral(" - Создание файла ") + outputPath_);
    if (entryExists(outputPath_.toStdString())) return finish({RunOutcome::FileExists, outputPath_.toStdString()});
    startRequest(inputs.frameCount, inputs.pictureSize);
}

bool WindowRun::startRequest(int frameCount, int pictureSize) {
    RunRequest request;
    request.frameCount = frameCount;
    request.pictureSize = pictureSize;
    request.stillBackground = c_.check3->isChecked();
    request.params = params_;
    request.jobs = jobs_;
    request.outputPath = outputPath_.toStdString();
    // Another program may take the name meanwhile: the next free one in that folder.
    request.nextFreePath = [folder = QFileInfo(outputPath_).path()] {
        return proposeNextFileName(folder).path.toStdString();
    };
    return controller_->start(std::move(request), services_.openSink);
}

void WindowRun::stopClick() {
    controller_->stop();
    c_.command1->setText(QString::fromUtf8(startCaption));
    runActive_ = false;
    clearProgress();
}

void WindowRun::finish(const RunResult& result) {
    outputPath_ = QString::fromStdString(result.path);
    const AfterRun after = afterRun(result.outcome, window_.windowState(), c_.check5->isChecked());
    if (after.boxFirst) showBox(after.box, result);
    if (after.clearProgress) clearProgress();
    if (after.idleLook) showIdleLook();
    if (after.refreshList) window_.refreshFileList();
    if (after.nextName) window_.NextFileName();
    c_.command1->showColour(QColor::fromRgb(idleColour));
    if (!after.boxFirst) showBox(after.box, result);
    c_.timer1->stop();  // after the box: the button blinks while it is shown
    if (after.report == AfterReport::Open) services_.shell.open(outputPath_);
    if (after.report == AfterReport::Report) window_.got();
    if (after.runEnded) window_.runEnded();
    if (after.endProgram) services_.endProgram();
    emit ended();
}

void WindowRun::showBox(AfterBox box, const RunResult& result) {
    if (box == AfterBox::Outcome) showRunMessage(services_.messages, MessageIcon::Exclamation, runMessage(result));
    if (box == AfterBox::Exited)
        showRunMessage(services_.messages, MessageIcon::Exclamation, runMessage({RunOutcome::Exited, {}}));
}

void WindowRun::clearProgress() {
    c_.label7->clear();
    c_.label9->clear();
    c_.picture1->showStep(0);
    c_.picture2->showStep(0);
    window_.setCaption(QString::fromUtf8(windowCaption));
}

void WindowRun::showIdleLook() {
    runActive_ = false;
    c_.command1->setText(QString::fromUtf8(startCaption));
    c_.timer1->stop();
    c_.command1->showColour(QColor::fromRgb(idleColour));
}

}  // namespace pestrolik
