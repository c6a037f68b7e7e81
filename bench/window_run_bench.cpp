// The window's run against pestrolik-render --jobs 1 on the same picture, timed in
// the same session; how long the window's event loop goes without a turn during a
// run; and NextFileName in a folder holding Kaleidrix_1..500.GIF.
//
//   window_run_bench [count] [size] [pairs]     (default 10 1000 3)
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
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace pestrolik;

namespace {

class SilentMessages : public MessageBoxes {
public:
    void show(MessageIcon, const QString&, const QString&) override {}
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
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

WindowFigures windowRun(Form1& form, const QString& count, const QString& size, int turnIntervalMs) {
    const Controls& c = form.controls();
    c.text1->setText(count);
    c.text2->setText(size);
    form.run().setTurnIntervalMs(turnIntervalMs);

    WindowFigures figures;
    QElapsedTimer sinceTurn;
    QTimer heartbeat;  // fires at every turn of the event loop
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        if (!form.run().active()) return;
        if (sinceTurn.isValid()) figures.longestGapMs = std::max(figures.longestGapMs, sinceTurn.nsecsElapsed() / 1e6);
        sinceTurn.start();
        ++figures.turns;
    });
    heartbeat.start(0);
    QElapsedTimer clock;
    clock.start();
    c.command1->click();
    figures.seconds = clock.nsecsElapsed() / 1e9;
    return figures;
}

double renderRun(const QString& renderExe, const QString& count, const QString& size, const PictureParams& params,
                 const QString& out) {
    QFile::remove(out);
    QProcess render;
    render.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    render.start(renderExe, {"--count", count, "--size", size, "--jobs", "1", "--quiet", "--params",
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
    const QString count = argc > 1 ? argv[1] : "10";
    const QString size = argc > 2 ? argv[2] : "1000";
    const int pairs = argc > 3 ? atoi(argv[3]) : 3;

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

    std::printf("%s pictures of %s x %s, %d pairs, platform %s\n", qPrintable(count), qPrintable(size),
                qPrintable(size), pairs, qPrintable(QGuiApplication::platformName()));
    std::vector<double> windowSeconds, renderSeconds, everyYieldSeconds;
    double longestGapMs = 0;
    long turns = 0;
    for (int pair = 0; pair < pairs; ++pair) {
        const WindowFigures w = windowRun(form, count, size, 15);
        const double r = renderRun(RENDER_EXE, count, size, form.run().params(), dir.filePath("render.GIF"));
        windowSeconds.push_back(w.seconds);
        renderSeconds.push_back(r);
        longestGapMs = std::max(longestGapMs, w.longestGapMs);
        turns = w.turns;
        std::printf("  pair %d: window %.3f s (longest gap %.1f ms, %ld turns), render --jobs 1 %.3f s\n", pair + 1,
                    w.seconds, w.longestGapMs, w.turns, r);
    }
    const WindowFigures every = windowRun(form, count, size, 0);
    std::printf("window, median          %.3f s\n", median(windowSeconds));
    std::printf("render --jobs 1, median %.3f s\n", median(renderSeconds));
    std::printf("ratio window / render   %.3f (target <= 1.15)\n", median(windowSeconds) / median(renderSeconds));
    std::printf("longest gap between event-loop turns %.1f ms (target <= 100), %ld turns a run\n", longestGapMs, turns);
    std::printf("for comparison, a turn at every yield: %.3f s (%ld turns)\n", every.seconds, every.turns);
    nextFileNameFigures();
    return 0;
}
