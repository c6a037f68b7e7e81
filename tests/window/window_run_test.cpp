// START/STOP through the real window: the run's wiring to its controls, reports and
// files (judged by giflib). What the run itself decides is tested in the core.

#include "window_test_support.h"

using pestrolik::testing::RecordingHost;

namespace {

// Runs `action` at the first turn of the event loop inside the run.
void duringRun(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

void verifyIdle(TestWindow& w) {
    const Controls& c = w.c();
    QCOMPARE(c.command1->text(), QString(startCaption));
    QVERIFY(!c.timer1->isActive());
    QCOMPARE(c.command1->background(), QColor(255, 255, 238));
    QVERIFY(!w.form().run().active());
    QCOMPARE(w.form().windowTitle(), QString("Пестролик-1"));
    QVERIFY(c.label7->text().isEmpty() && c.label9->text().isEmpty());
    QVERIFY(c.picture1->step() == 0 && c.picture2->step() == 0);
}

void verifyOneMessage(TestWindow& w, MessageIcon icon, const QString& title, const QString& text) {
    QCOMPARE(w.messages.shown.size(), 1);
    QCOMPARE(w.messages.shown[0].icon, icon);
    QCOMPARE(w.messages.shown[0].title, title);
    QCOMPARE(w.messages.shown[0].text, text);
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class WindowRunTest : public QObject {
    Q_OBJECT

private slots:
    // The report names the file and where it went (a path typed into Text3 may lead
    // elsewhere); with "open at the end" the shell gets the file instead.
    void completedRuns() {
        TestWindow w;
        w.c().check5->setChecked(false);
        QVERIFY(!w.c().check4->isEnabled());
        w.start("2", "21");
        const auto gif = decodeGif(w.pathIn("Kaleidrix_1.GIF"));
        QVERIFY2(gif.ok, gif.error.c_str());
        QCOMPARE(gif.width, 21);
        QCOMPARE(gif.frames.size(), size_t(2));
        verifyOneMessage(w, MessageIcon::None, "Пестролик-1 - Ура!",
                         "Файл  готов!  Его  имя:   \"Kaleidrix_1.GIF\"\r\nМестонахождение:   " + w.folder());
        verifyIdle(w);
        QVERIFY(w.c().check4->isEnabled());
        QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_2.GIF"));
        QTRY_COMPARE(listedFiles(w.c()), QStringList{"Kaleidrix_1.GIF"});

        QVERIFY(QDir().mkdir(w.pathIn("elsewhere")));
        w.c().text3->setText(w.pathIn("elsewhere/mine.gif"));
        w.start("1", "10");
        QCOMPARE(w.messages.shown[1].text, "Файл  готов!  Его  имя:   \"mine.gif\"\r\nМестонахождение:   " + w.pathIn("elsewhere"));
        QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_2.GIF"));

        w.c().check5->setChecked(true);
        w.start("1", "10");
        QCOMPARE(w.shell.opened, QStringList{w.pathIn("Kaleidrix_2.GIF")});
        QCOMPARE(w.messages.shown.size(), 2);
        QVERIFY(decodeGif(w.pathIn("Kaleidrix_2.GIF")).ok);
    }

    // A refused count leaves an idle window, and the next press is a START again; an
    // existing file is refused, kept, and the next free name proposed.
    void refusals() {
        TestWindow w;
        w.start("0", "5");
        w.clickStart();
        QCOMPARE(w.messages.shown.size(), 2);
        QCOMPARE(w.messages.shown[1].icon, MessageIcon::Exclamation);
        QCOMPARE(w.messages.shown[1].title, QString("Ошибочка"));
        QCOMPARE(w.messages.shown[1].text, QString("Количество картинок должно быть не меньше, чем одна."));
        verifyIdle(w);
        QVERIFY(w.folderEntries().isEmpty());

        w.messages.shown.clear();
        writeFile(w.pathIn("Kaleidrix_1.GIF"), "mine");  // appears after the proposal was made
        w.start("2", "20");
        verifyOneMessage(w, MessageIcon::Exclamation, "Ошибка",
                         "В этой папке уже есть такой файл :\r\n" + w.pathIn("Kaleidrix_1.GIF") + ".");
        QCOMPARE(bytesOf(w.pathIn("Kaleidrix_1.GIF")), QByteArray("mine"));
        QVERIFY(w.shell.opened.isEmpty());
        QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_2.GIF"));
        verifyIdle(w);
    }

    // STOP shows the idle look at once while the blinking goes on; a START before the run
    // has noticed is ignored; no file, one message, the proposal stays.
    void stopAndStartWhileUnwinding() {
        TestWindow w;
        bool fileWhileRunning = false, stillBlinking = false;
        QString pictureWhenStopped, captionAfterStop;
        duringRun([&] {
            pictureWhenStopped = w.c().label9->text();
            fileWhileRunning = !w.folderEntries().isEmpty();
            w.clickStart();
            captionAfterStop = w.form().windowTitle() + w.c().command1->text();
            stillBlinking = w.c().timer1->isActive();
            w.clickStart();
        });
        w.start("3", "300");
        QCOMPARE(pictureWhenStopped, QString("Создаётся картинка  №  1"));
        QVERIFY(!fileWhileRunning);  // only a whole file ever carries the name
        QCOMPARE(captionAfterStop, QString("Пестролик-1") + startCaption);
        QVERIFY(stillBlinking);
        QVERIFY(w.folderEntries().isEmpty());
        verifyOneMessage(w, MessageIcon::Exclamation, "Операция прервана", "Процесс был прерван.\r\nСохранение не произошло.");
        verifyIdle(w);
        QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_1.GIF"));
        QCOMPARE(w.endProgramCalls, 0);
        w.start("1", "10");
        QVERIFY(decodeGif(w.pathIn("Kaleidrix_1.GIF")).ok);
    }

    void closeDuringRun_data() {
        QTest::addColumn<int>("signal");  // 0: the close box
        QTest::addColumn<bool>("stopFirst");
        QTest::newRow("closed") << 0 << false;
        QTest::newRow("stopped, then closed before the run noticed") << 0 << true;
        for (int signal : {SIGTERM, SIGHUP, SIGINT}) QTest::addRow("signal %d", signal) << signal << false;
    }

    // Every setting is written, then the run deletes its file and says so, then the
    // program ends.
    void closeDuringRun() {
        QFETCH(int, signal);
        QFETCH(bool, stopFirst);
        TestWindow w;
        CloseOnSignals closer(w.form());
        duringRun([&] {
            if (stopFirst) w.clickStart();
            signal ? void(std::raise(signal)) : void(w.form().close());
        });
        w.start("3", "300");
        QVERIFY(w.folderEntries().isEmpty());
        verifyOneMessage(w, MessageIcon::Exclamation, "Выход из программы", "Процесс не был завершён.\r\nСохранение не произошло.");
        QCOMPARE(w.endProgramCalls, 1);
        const int lastSave = w.log.indexOf(QRegularExpression("save met2/ope=.*"));
        QVERIFY(lastSave >= 0 && lastSave < w.log.indexOf("message Выход из программы"));
        QCOMPARE(w.log.last(), QString("end program"));
    }

    // A file that cannot be made: the reason told, the path left to correct.
    void failure() {
        TestWindow w;
        w.c().text3->setText(w.pathIn("gone/Kaleidrix_1.GIF"));
        w.start("2", "100");
        verifyOneMessage(w, MessageIcon::Exclamation, "Ошибка",
                         "Не удалось создать файл :\r\n" + w.pathIn("gone/Kaleidrix_1.GIF") + ".\r\nТакой папки нет\r\nСохранение не произошло.");
        verifyIdle(w);
        QCOMPARE(w.c().text3->text(), w.pathIn("gone/Kaleidrix_1.GIF"));
    }

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

    // Each tick swaps the tool-tip colour and RGB(187, 255, 255); the end of a run leaves
    // RGB(255, 255, 238), drawn, until the next run's first tick. "Повторить предыдущий
    // рисунок" keeps the last parameters; without it every press draws new ones.
    void blinkingAndRepeat() {
        TestWindow w;
        w.c().check5->setChecked(false);
        auto tick = [&] {
            QMetaObject::invokeMethod(w.c().timer1, "timeout");
            return w.c().command1->palette().color(QPalette::Button);
        };
        const QColor tip = toolTipColour(), blink(187, 255, 255);
        QList<QColor> seen;
        duringRun([&] { seen << tick() << tick() << tick(); });
        w.start("1", "20");
        QCOMPARE(seen, (QList<QColor>{blink, tip, blink}));
        QCOMPARE(w.c().command1->grab().toImage().pixelColor(40, 20), QColor(255, 255, 238));
        const PictureParams first = w.form().run().params();
        QCOMPARE(first.refSize, 20.0);

        w.c().check4->setChecked(true);
        duringRun([&] { seen = {tick()}; });
        w.start("1", "30");
        QCOMPARE(seen, QList<QColor>{tip});
        QCOMPARE(w.form().run().params(), first);
        w.c().check4->setChecked(false);
        w.start("1", "40");
        PictureParams fresh = w.form().run().params();
        QCOMPARE(fresh.refSize, 40.0);
        fresh.refSize = first.refSize;
        QVERIFY(fresh != first);
    }
};

PESTROLIK_WINDOW_TEST_MAIN(WindowRunTest)
#include "window_run_test.moc"
