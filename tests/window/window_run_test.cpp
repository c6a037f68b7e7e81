// The window's run on worker threads against the core's run on one: the same bytes.
// What the user sees of a run is in scripts/runs.txt.

#include "window_test_support.h"

using pestrolik::testing::RecordingHost;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class WindowRunTest : public QObject {
    Q_OBJECT

private slots:
    // Frames made on worker threads: the bytes of one thread, Check3 followed from the
    // next frame handed out, every picture number shown, no progress going backwards.
    void workersMakeTheSameBytes() {
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
            percents << w.c().label7->text().remove(" %  готово").toInt();
        });
        sampler.start(0);
        w.start("7", "61");
        sampler.stop();

        RunRequest request;
        request.frameCount = 7;
        request.pictureSize = 61;
        request.params = w.form().run().params();
        request.outputPath = w.pathIn("one thread.GIF").toStdString();
        RecordingHost host;
        host.still = [](int frame) { return frame > FramePipeline::lookahead(jobs); };
        QCOMPARE(int(runGeneration(request, host).outcome), int(RunOutcome::Completed));
        QVERIFY(bytesOf(w.pathIn("Kaleidrix_1.GIF")) == bytesOf(w.pathIn("one thread.GIF")));
        QCOMPARE(QSet<int>(pictures.begin(), pictures.end()), (QSet<int>{1, 2, 3, 4, 5, 6, 7}));
        QVERIFY(std::is_sorted(pictures.begin(), pictures.end()) && std::is_sorted(percents.begin(), percents.end()));
        QCOMPARE(percents.last(), 100);
    }
};

PESTROLIK_WINDOW_TEST_MAIN(WindowRunTest)
#include "window_run_test.moc"
