// The window's run against pestrolik-render, both with one worker per core, on the
// same picture, alternated in the same session; how long the window's event loop goes
// without a turn during a run; how soon STOP brings it back to idle; peak memory; and
// NextFileName in a folder holding Kaleidrix_1..500.GIF.
//
//   window_run_bench [count] [size] [pairs]     (default 100 1000 5)
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.

#include "window/controls.h"
#include "music/fallback_midi_output.h"
#include "window/form1.h"
#include "window/next_file_name.h"
#include "generation/picture_params.h"
#include "window/start_button.h"
#include "window/window_run.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

using namespace pestrolik;

namespace {

class SilentMessages : public MessageBoxes {
public:
    void show(MessageIcon, const QString&, const QString&) override {}
    void dismiss() override {}
};

class NoShell : public Shell {
public:
    bool open(const QString&) override { return true; }
};

// Parameters drawn from a fixed clock and sequence, so every run draws the same picture.
class FixedClock : public Clock {
public:
    double secondsSinceMidnight() override { return 45296.789; }
};
class FixedRandom : public RandomSource {
public:
    void reseedFromClock() override { next_ = 0; }
    double uniform() override { return draws_[next_++ % 5]; }

private:
    const double draws_[5] = {0.6, 0.3, 0.9, 0.5, 0.5};
    int next_ = 0;
};

struct WindowFigures {
    double seconds = 0;
    double longestGapMs = 0;
    long turns = 0;
    double stopToIdleMs = 0;  // when stopped
    double windowThreadCpu = 0;  // seconds
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// CPU seconds, all threads, of this process or of its finished children.
double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// A run through the window's START button; with `stopAfterMs` > 0 STOP is clicked (or
// the window closed) that long after the start, and the time until the run has
// unwound is noted.
WindowFigures windowRun(Form1& form, const QString& count, const QString& size, int stopAfterMs = 0,
                        bool closeInstead = false) {
    const Controls& c = form.controls();
    c.text1->setText(count);
    c.text2->setText(size);

    WindowFigures figures;
    QElapsedTimer sinceTurn;
    // Every 5 ms while the loop is free: a late beat is a gap. (A 0 ms timer would keep
    // the window's thread spinning and take a core from the run's workers.)
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        if (!form.run().busy()) return;
        if (sinceTurn.isValid()) figures.longestGapMs = std::max(figures.longestGapMs, sinceTurn.nsecsElapsed() / 1e6);
        sinceTurn.start();
        ++figures.turns;
    });
    heartbeat.start(5);
    QElapsedTimer sinceStop;
    QTimer stop;
    stop.setSingleShot(true);
    QObject::connect(&stop, &QTimer::timeout, [&] {
        if (!form.run().active()) return;
        sinceStop.start();
        if (closeInstead)
            form.close();
        else
            c.command1->click();
    });
    if (stopAfterMs > 0) stop.start(stopAfterMs);
    QElapsedTimer clock;
    const double cpuBefore = cpuSeconds(RUSAGE_THREAD);
    clock.start();
    QEventLoop untilEnded;
    QObject::connect(&form.run(), &WindowRun::ended, &untilEnded, &QEventLoop::quit);
    c.command1->click();
    if (form.run().busy()) untilEnded.exec();
    figures.seconds = clock.nsecsElapsed() / 1e9;
    figures.windowThreadCpu = cpuSeconds(RUSAGE_THREAD) - cpuBefore;
    if (sinceStop.isValid()) figures.stopToIdleMs = sinceStop.nsecsElapsed() / 1e6;
    return figures;
}

double renderRun(const QString& renderExe, const QString& count, const QString& size, const PictureParams& params,
                 const QString& out) {
    QFile::remove(out);
    QProcess render;
    render.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    render.start(renderExe, {"--count", count, "--size", size, "--quiet", "--params",
                             QString::fromStdString(paramsCode(params)), "--out", out});
    render.waitForFinished(-1);
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (render.exitStatus() != QProcess::NormalExit || render.exitCode() != 0) {
        std::fprintf(stderr, "pestrolik-render failed\n");
        std::exit(1);
    }
    return seconds;
}

void nextFileNameFigures() {
    QTemporaryDir dir;
    for (int n = 1; n <= 500; ++n) {
        QFile file(dir.filePath(QString("Kaleidrix_%1.GIF").arg(n)));
        file.open(QIODevice::WriteOnly);
    }
    std::vector<double> ms;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer clock;
        clock.start();
        const FileNameProposal proposal = proposeNextFileName(dir.path());
        ms.push_back(clock.nsecsElapsed() / 1e6);
        if (proposal.fileNumber != 501) std::exit(1);
    }
    std::printf("NextFileName, 500 taken: median %.2f ms, worst %.2f ms (50 calls)\n", median(ms),
                *std::max_element(ms.begin(), ms.end()));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString count = argc > 1 ? argv[1] : "100";
    const QString size = argc > 2 ? argv[2] : "1000";
    const int pairs = argc > 3 ? atoi(argv[3]) : 5;

    QTemporaryDir dir;
    MemorySettingsStore settings;
    SilentMessages messages;
    NoShell shell;
    FixedClock clock;
    FixedRandom random;
    FallbackMidiOutput silence({});  // no candidates: no sound
    Form1 form({.settings = settings,
                .messages = messages,
                .shell = shell,
                .clock = clock,
                .random = random,
                .midi = silence,
                .programFolder = dir.path(),
                .volumeRoots = {"/"},
                .endProgram = [] {}});
    form.controls().check5->setChecked(false);
    form.show();

    std::printf("%s pictures of %s x %s, %d pairs, %d cores, platform %s\n", qPrintable(count), qPrintable(size),
                qPrintable(size), pairs, QThread::idealThreadCount(), qPrintable(QGuiApplication::platformName()));
    const double peakBeforeRuns = peakMiB();
    std::vector<double> windowSeconds, renderSeconds, cpuRatios;
    double longestGapMs = 0;
    for (int pair = 0; pair < pairs; ++pair) {
        // Alternated, so neither side always runs on a machine warmed by the other.
        WindowFigures w;
        double r = 0;
        const double windowCpuBefore = cpuSeconds(RUSAGE_SELF), renderCpuBefore = cpuSeconds(RUSAGE_CHILDREN);
        const QString renderOut = dir.filePath("render.GIF");
        if (pair % 2 == 0) {
            w = windowRun(form, count, size);
            r = renderRun(RENDER_EXE, count, size, form.run().params(), renderOut);
        } else {  // the fixed clock and sequence give the window the same picture again
            r = renderRun(RENDER_EXE, count, size, form.run().params(), renderOut);
            w = windowRun(form, count, size);
        }
        windowSeconds.push_back(w.seconds);
        renderSeconds.push_back(r);
        // On a busy machine the wall times mostly tell how much CPU each side was given.
        const double windowCpu = cpuSeconds(RUSAGE_SELF) - windowCpuBefore;
        const double renderCpu = cpuSeconds(RUSAGE_CHILDREN) - renderCpuBefore;
        cpuRatios.push_back(windowCpu / renderCpu);
        longestGapMs = std::max(longestGapMs, w.longestGapMs);
        std::printf("  pair %d: window %.3f s (longest gap %.1f ms, %ld turns), render %.3f s, ratio %.3f;"
                    " CPU %.2f s (%.2f s on the window's thread) / %.2f s\n",
                    pair + 1, w.seconds, w.longestGapMs, w.turns, r, w.seconds / r, windowCpu, w.windowThreadCpu,
                    renderCpu);
    }
    std::vector<double> ratios;
    for (size_t i = 0; i < windowSeconds.size(); ++i) ratios.push_back(windowSeconds[i] / renderSeconds[i]);
    std::printf("window, median          %.3f s\n", median(windowSeconds));
    std::printf("render, median          %.3f s\n", median(renderSeconds));
    std::printf("ratio window / render   %.3f median of the pairs (target <= 1.10)\n", median(ratios));
    std::printf("CPU time window / render %.3f median of the pairs\n", median(cpuRatios));
    std::printf("longest gap between event-loop turns %.1f ms (target <= 50)\n", longestGapMs);

    double worstStopMs = 0;
    for (int i = 0; i < 5; ++i) {
        const WindowFigures stopped = windowRun(form, count, size, 100 + 173 * i);
        worstStopMs = std::max(worstStopMs, stopped.stopToIdleMs);
        longestGapMs = std::max(longestGapMs, stopped.longestGapMs);
        std::printf("  STOP after %d ms: idle %.1f ms later, longest gap %.1f ms\n", 100 + 173 * i,
                    stopped.stopToIdleMs, stopped.longestGapMs);
    }
    std::printf("worst STOP to idle %.1f ms (target <= 50)\n", worstStopMs);
    const WindowFigures closed = windowRun(form, count, size, 300, true);  // the last run: the window is gone
    std::printf("closing after 300 ms: the run had ended %.1f ms later\n", closed.stopToIdleMs);
    // The renderer's peak is render_bench's: a child forked from here would count this process's pages.
    std::printf("peak memory of the window process %.1f MiB, %.1f MiB of it before the first run (target < 64)\n",
                peakMiB(), peakBeforeRuns);
    nextFileNameFigures();
    return 0;
}
