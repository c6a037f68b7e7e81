// The window's run with its frames made on worker threads: the same bytes as one
// thread, Check3 followed from the next frame handed out, and progress at every turn.

#include "window_test_support.h"

#include "generation/frame_pipeline.h"
#include "window/controls.h"
#include "window/window_run.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QTimer>

using namespace pestrolik;
using namespace pestrolik::test;

namespace {

// One thread, with the still background from frame `firstStill` on.
struct OneThreadHost : RunHost {
    int firstStill = 0;
    int framesDrawn = 0;
    RunVerdict verdict() override { return RunVerdict::Continue; }
    void yield() override {}
    bool stillBackground() override { return ++framesDrawn >= firstStill; }
    void pictureStarted(int) override {}
    void frameStripChanged(int) override {}
    void totalStripChanged(int) override {}
    void percentChanged(int) override {}
};

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class WindowRunCoresTest : public QObject {
    Q_OBJECT

private slots:
    void sameBytesAsOneThread();
};

void WindowRunCoresTest::sameBytesAsOneThread() {
    constexpr int jobs = 3;
    TestWindow w;
    w.c().check5->setChecked(false);
    w.form().run().setJobs(jobs);
    QList<int> pictures, percents;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (!w.form().run().active()) return;
        w.c().check3->setChecked(true);  // at the first turn, while the first frames are out
        pictures << w.c().label9->text().section(u' ', -1).toInt();
        percents << w.c().label7->text().section(u' ', 0, 0).toInt();
    });
    sampler.start(0);
    w.start("7", "61");
    sampler.stop();

    RunRequest request;
    request.frameCount = 7;
    request.pictureSize = 61;
    request.params = w.form().run().params();
    request.outputPath = w.pathIn("one thread.GIF").toStdString();
    OneThreadHost host;
    host.firstStill = FramePipeline::lookahead(jobs) + 1;
    QCOMPARE(int(runGeneration(request, host).outcome), int(RunOutcome::Completed));
    const QByteArray made = bytesOf(w.pathIn("Kaleidrix_1.GIF"));
    QVERIFY(made.size() > 602);
    QVERIFY(made == bytesOf(w.pathIn("one thread.GIF")));

    // Every picture is shown at some turn; nothing goes backwards.
    QCOMPARE(QSet<int>(pictures.begin(), pictures.end()), (QSet<int>{1, 2, 3, 4, 5, 6, 7}));
    QVERIFY(std::is_sorted(pictures.begin(), pictures.end()));
    QVERIFY(std::is_sorted(percents.begin(), percents.end()));
    QCOMPARE(percents.last(), 100);
}

PESTROLIK_WINDOW_TEST_MAIN(WindowRunCoresTest)
#include "window_run_cores_test.moc"
