#include "window/window_run.h"

#include "window/controls.h"
#include "window/run_window.h"
#include "generation/file_naming.h"
#include "generation/generation_run.h"
#include "window/next_file_name.h"
#include "window/progress_strip.h"
#include "generation/run_inputs.h"
#include "messages/run_messages.h"
#include "window/start_button.h"
#include "window/utf8_text.h"
#include "window/window_services.h"

#include <QCheckBox>
#include <QCoreApplication>
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
      jobs_(std::max(1, QThread::idealThreadCount())) {}

void WindowRun::click() {
    // A START while a stopped run is still unwinding would run inside it, and the
    // unwinding run would then delete the new file: it is ignored.
    if (onStack_ && !runActive_) return;

    c_.check4->setEnabled(true);
    if (!c_.check4->isChecked()) chooseParameters(params_, services_.clock, services_.random);
    if (runActive_)
        stopClick();
    else
        start();
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

    RunRequest request;
    request.frameCount = inputs.frameCount;
    request.pictureSize = inputs.pictureSize;
    request.stillBackground = c_.check3->isChecked();
    request.params = params_;
    request.jobs = jobs_;
    outputPath_ = c_.text3->text();
    request.outputPath = outputPath_.toStdString();
    // Another program may take the name meanwhile: the next free one in that folder.
    request.nextFreePath = [folder = QFileInfo(outputPath_).path()] {
        return proposeNextFileName(folder).path.toStdString();
    };
    window_.setCaption(QString::fromUtf8(windowCaption) + QStringLiteral(" - Создание файла ") + outputPath_);

    if (entryExists(request.outputPath)) {
        refuseExistingFile();
        return;
    }

    onStack_ = true;
    sinceTurn_.start();
    const RunResult result = runGeneration(request, *this, services_.openSink);
    onStack_ = false;
    outputPath_ = QString::fromStdString(result.path);

    switch (result.outcome) {
    case RunOutcome::Completed:
        endOfRun();
        // Closed during the last rows: the file is whole, and nobody is left to tell.
        if (!window_.windowOpen()) return services_.endProgram();
        finishReport();
        return;
    case RunOutcome::FileExists:  // appeared after the look above
        refuseExistingFile();
        return;
    case RunOutcome::Stopped:
        // STOP and then closing before the run noticed: the program still ends.
        if (!window_.windowOpen()) return endProgramAfterClosing();
        c_.command1->showColour(QColor::fromRgb(idleColour));
        showRunMessage(services_.messages, MessageIcon::Exclamation, runMessage(result));
        c_.timer1->stop();
        return;
    case RunOutcome::Exited:
        endProgramAfterClosing();
        return;
    case RunOutcome::CreateFailed:
    case RunOutcome::WriteFailed:
        reportFailure(result);
        return;
    }
}

void WindowRun::stopClick() {
    c_.command1->setText(QString::fromUtf8(startCaption));
    runActive_ = false;
    clearProgress();
}

void WindowRun::clearProgress() {
    c_.label7->clear();
    c_.label9->clear();
    c_.picture1->showStep(0);
    c_.picture2->showStep(0);
    window_.setCaption(QString::fromUtf8(windowCaption));
}

void WindowRun::refuseExistingFile() {
    showRunMessage(services_.messages, MessageIcon::Exclamation,
                runMessage({RunOutcome::FileExists, outputPath_.toStdString()}));
    skipFinish_ = true;
    endOfRun();
    finishReport();
}

void WindowRun::reportFailure(const RunResult& result) {
    // Like the end of a run, but the proposal in Text3 stays: the user may want to
    // correct the path that failed.
    clearProgress();
    showIdleLook();
    window_.refreshFileList();
    showRunMessage(services_.messages, MessageIcon::Exclamation, runMessage(result));
    if (!window_.windowOpen()) services_.endProgram();
}

void WindowRun::showIdleLook() {
    runActive_ = false;
    c_.command1->setText(QString::fromUtf8(startCaption));
    c_.timer1->stop();
    c_.command1->showColour(QColor::fromRgb(idleColour));
}

void WindowRun::endOfRun() {
    clearProgress();
    showIdleLook();
    window_.refreshFileList();
    window_.NextFileName();
}

void WindowRun::finishReport() {
    if (!skipFinish_) {
        if (c_.check5->isChecked())
            openResult();
        else
            window_.got();
    }
    skipFinish_ = false;
    window_.runEnded();
}

void WindowRun::openResult() { services_.shell.open(outputPath_); }

void WindowRun::endProgramAfterClosing() {
    c_.command1->showColour(QColor::fromRgb(idleColour));
    showRunMessage(services_.messages, MessageIcon::Exclamation, runMessage({RunOutcome::Exited, {}}));
    c_.timer1->stop();
    services_.endProgram();
}

RunVerdict WindowRun::verdict() {
    if (!runActive_) return RunVerdict::Stop;
    if (!window_.windowOpen()) return RunVerdict::Exit;
    return RunVerdict::Continue;
}

void WindowRun::yield() {
    // Flags change only inside processEvents, so turning the loop less often than
    // every row changes nothing the row check sees; it only saves time.
    if (sinceTurn_.elapsed() < turnIntervalMs_) return;
    QCoreApplication::processEvents();
    sinceTurn_.restart();
}

// Asked on this thread as each frame is handed to the workers, so a change of Check3
// reaches the frames handed out after it: with n workers up to n + 1 frames already
// out (drawn, being drawn or waiting to be) keep the earlier choice. With one job it
// is asked as each frame begins to be drawn.
bool WindowRun::stillBackground() { return c_.check3->isChecked(); }

// After a STOP click the idle look stays, whatever the unwinding run still reports.
void WindowRun::pictureStarted(int frameNo) {
    if (runActive_) c_.label9->setText(QStringLiteral("Создаётся картинка  №  ") + QString::number(frameNo));
}

void WindowRun::frameStripChanged(int step) {
    if (runActive_) c_.picture1->showStep(step);
}

void WindowRun::totalStripChanged(int step) {
    if (runActive_) c_.picture2->showStep(step);
}

void WindowRun::percentChanged(int percent) {
    if (runActive_) c_.label7->setText(QString::number(percent) + QStringLiteral(" %  готово"));
}

}  // namespace pestrolik
