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

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class WindowRunTest : public QObject {
    Q_OBJECT

private slots:
    void outcomes_data() {
        QTest::addColumn<QStringList>("row");
        for (const auto& row : readDataTable(TEST_DATA_DIR "/runs.txt")) {
            QStringList fields;
            for (const std::string& field : row) fields << QString::fromStdString(field);
            QTest::newRow(row[0].c_str()) << fields;
        }
    }

    // Files made beforehand keep their bytes, new ones are whole, and a program that
    // ends has written its settings before it says so.
    void outcomes() {
        QFETCH(QStringList, row);
        TestWindow w;
        CloseOnSignals closer(w.form());
        auto filled = [&](QString text) { return text.replace("{f}", w.folder()).replace("\\r\\n", "\r\n"); };
        QStringList made;
        w.c().check5->setChecked(row[1] == "open");
        if (row[1].startsWith("file:")) writeFile(w.pathIn(made.emplace_back(row[1].mid(5))), "mine");
        if (row[1].startsWith("dir:")) QVERIFY(QDir().mkdir(w.pathIn(row[1].mid(4))));
        const QString target = row[2] == "-" ? w.c().text3->text() : filled(row[2]);
        w.c().text3->setText(target);
        if (row[5] != "-") duringRun([&] {
            for (const QString& act : row[5].split(' '))
                act == "stop" ? w.clickStart() : act == "close" ? void(w.form().close()) : void(std::raise(act.toInt()));
        });
        w.start(row[3], row[4]);

        QStringList shown;
        for (const ShownMessage& m : w.messages.shown)
            shown << QStringList{"none", "information", "exclamation"}[int(m.icon)] << m.title << m.text;
        const QStringList expected = row[6].isEmpty() ? QStringList() : QStringList{row[6], row[7], filled(row[8])};
        QCOMPARE(shown, expected);
        QCOMPARE(w.c().text3->text(), filled(row[9]));
        QCOMPARE(w.folderEntries().join(','), row[10]);
        QCOMPARE(w.shell.opened.join(','), filled(row[11]));
        QCOMPARE(w.endProgramCalls, row[12].toInt());
        for (const QString& name : made) QCOMPARE(bytesOf(w.pathIn(name)), QByteArray("mine"));
        if (row[7].contains("Ура") || !row[11].isEmpty()) QVERIFY(decodeGif(target).ok);
        if (w.endProgramCalls) {
            const int lastSave = w.log.indexOf(QRegularExpression("save met2/ope=.*"));
            QVERIFY(lastSave >= 0 && lastSave < w.log.indexOf("message Выход из программы"));
            QCOMPARE(w.log.last(), QString("end program"));
            return;
        }
        verifyIdle(w);
        QVERIFY(w.c().check4->isEnabled());
        QTRY_COMPARE(listedFiles(w.c()), QDir(w.folder()).entryList({"*.gif"}, QDir::Files));
    }

    // STOP shows the idle look at once while the blinking goes on, and only a whole file
    // ever carries the name; a START before the run has noticed is ignored.
    void stopAndStartWhileUnwinding() {
        TestWindow w;
        QString seen;
        duringRun([&] {
            seen = w.c().label9->text() + '|' + w.folderEntries().join(',');
            w.clickStart();
            seen += '|' + w.form().windowTitle() + '|' + w.c().command1->text() + '|' + QString::number(w.c().timer1->isActive());
            w.clickStart();
        });
        w.start("3", "300");
        QCOMPARE(seen, QString("Создаётся картинка  №  1||Пестролик-1|") + startCaption + "|1");
        QCOMPARE(w.messages.shown.size(), 1);
        w.start("1", "10");
        QVERIFY(decodeGif(w.pathIn("Kaleidrix_1.GIF")).ok);
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
