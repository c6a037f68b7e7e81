// START/STOP driven through the real window: finished files judged by giflib,
// refusals, STOP and closing in the middle of a run, progress, and the blinking.

#include "window_test_support.h"

#include "window/controls.h"
#include "gif/file_sink.h"
#include "window/progress_strip.h"
#include "window/start_button.h"
#include "window/window_run.h"

#include <QApplication>
#include <QDir>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTimer>

using namespace pestrolik;
using namespace pestrolik::test;

namespace {

const QString stopMessage = QStringLiteral("Процесс был прерван.\r\nСохранение не произошло.");
const QString exitMessage = QStringLiteral("Процесс не был завершён.\r\nСохранение не произошло.");
const QString startCaptionText = QStringLiteral("                 СТАРТ                 (Создаём анимированный GIF) ");

// Runs `action` at the first turn of the event loop inside the run.
void duringRun(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

// A file sink that stops accepting bytes after `limit` of them.
class FailingSink : public ByteSink {
public:
    FailingSink(std::unique_ptr<ByteSink> file, size_t limit) : file_(std::move(file)), limit_(limit) {}
    bool write(std::span<const uint8_t> bytes) override {
        written_ += bytes.size();
        return written_ <= limit_ && file_->write(bytes);
    }
    bool finish() override { return file_->finish(); }
    void discard() override { file_->discard(); }

private:
    std::unique_ptr<ByteSink> file_;
    size_t limit_;
    size_t written_ = 0;
};

}  // namespace

class WindowRunTest : public QObject {
    Q_OBJECT

private slots:
    void completedRun();
    void openAtEnd();
    void reportNamesFolderWritten();
    void refusedInputs_data();
    void refusedInputs();
    void existingFileRefused();
    void stopDuringFirstFrame();
    void startWhileStoppedRunUnwinds();
    void closeDuringRun();
    void stopThenCloseStillEnds();
    void failures_data();
    void failures();
    void progressShown();
    void blinking();
    void repeatPicture();

private:
    static void verifyIdle(TestWindow& w, QRgb colour);
};

void WindowRunTest::verifyIdle(TestWindow& w, QRgb colour) {
    const Controls& c = w.c();
    QCOMPARE(c.command1->text(), startCaptionText);
    QVERIFY(!c.timer1->isActive());
    QCOMPARE(c.command1->background(), QColor::fromRgb(colour));
    QVERIFY(!w.form().run().active());
    QCOMPARE(w.form().windowTitle(), QString("Пестролик-1"));
    QCOMPARE(c.label7->text(), QString());
    QCOMPARE(c.label9->text(), QString());
    QCOMPARE(c.picture1->step(), 0);
    QCOMPARE(c.picture2->step(), 0);
}

void WindowRunTest::completedRun() {
    TestWindow w;
    w.c().check5->setChecked(false);
    QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_1.GIF"));
    QVERIFY(!w.c().check4->isEnabled());

    w.start("2", "21");

    const auto gif = decodeGif(w.pathIn("Kaleidrix_1.GIF"));
    QVERIFY2(gif.ok, gif.error.c_str());
    QCOMPARE(gif.width, 21);
    QCOMPARE(gif.height, 21);
    QCOMPARE(gif.frames.size(), size_t(2));

    QCOMPARE(w.messages.shown.size(), 1);
    const ShownMessage& got = w.messages.shown.first();
    QCOMPARE(got.icon, MessageIcon::None);
    QCOMPARE(got.title, QString("Пестролик-1 - Ура!"));
    QCOMPARE(got.text, QString("Файл  готов!  Его  имя:   \"Kaleidrix_1.GIF\"\r\nМестонахождение:   ") + w.folder());
    QVERIFY(w.shell.opened.isEmpty());

    verifyIdle(w, idleColour);
    QVERIFY(w.c().check4->isEnabled());
    QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_2.GIF"));
    QTRY_COMPARE(listedFiles(w.c()), QStringList{"Kaleidrix_1.GIF"});
}

void WindowRunTest::openAtEnd() {
    TestWindow w;
    QVERIFY(w.c().check5->isChecked());  // ticked by default
    w.start("1", "10");
    QCOMPARE(w.shell.opened, QStringList{w.pathIn("Kaleidrix_1.GIF")});
    QVERIFY(w.messages.shown.isEmpty());
    QVERIFY(decodeGif(w.pathIn("Kaleidrix_1.GIF")).ok);
}

// A path typed into Text3 may lead elsewhere: the report names where the file is.
void WindowRunTest::reportNamesFolderWritten() {
    TestWindow w;
    w.c().check5->setChecked(false);
    QVERIFY(QDir().mkdir(w.pathIn("elsewhere")));
    w.c().text3->setText(w.pathIn("elsewhere/mine.gif"));
    w.start("1", "10");
    QVERIFY(decodeGif(w.pathIn("elsewhere/mine.gif")).ok);
    QCOMPARE(w.messages.shown.size(), 1);
    QCOMPARE(w.messages.shown[0].text,
             QString("Файл  готов!  Его  имя:   \"mine.gif\"\r\nМестонахождение:   ") + w.pathIn("elsewhere"));
    // The next proposal is back in the save folder.
    QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_1.GIF"));
}

void WindowRunTest::refusedInputs_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("message");
    const QString countBig = "Количество картинок не должно превышать 100.";
    const QString countSmall = "Количество картинок должно быть не меньше, чем одна.";
    const QString sizeBig = "Ширина и высота картинок не должны привышать 1000 пикселей.";
    const QString sizeSmall = "Ширина и высота картинок должны быть не меньше, чем 10 пикселей.";
    QTest::newRow("101 pictures") << "101" << "200" << countBig;
    QTest::newRow("40000 pictures") << "40000" << "200" << countBig;
    QTest::newRow("letters for the count") << "abc" << "200" << countSmall;
    QTest::newRow("0 pictures") << "0" << "200" << countSmall;
    QTest::newRow("size 1001") << "3" << "1001" << sizeBig;
    QTest::newRow("size 9") << "3" << "9" << sizeSmall;
    QTest::newRow("both wrong: count first") << "0" << "5" << countSmall;
    QTest::newRow("both too big: count first") << "500" << "5000" << countBig;
}

void WindowRunTest::refusedInputs() {
    QFETCH(QString, count);
    QFETCH(QString, size);
    QFETCH(QString, message);
    TestWindow w;
    const QString proposal = w.c().text3->text();

    w.start(count, size);
    // A second press is a new START, not the STOP of a run that never began.
    w.clickStart();

    QCOMPARE(w.messages.shown.size(), 2);
    for (const ShownMessage& shown : w.messages.shown) {
        QCOMPARE(shown.icon, MessageIcon::Exclamation);
        QCOMPARE(shown.title, QString("Ошибочка"));
        QCOMPARE(shown.text, message);
    }
    verifyIdle(w, idleColour);
    QVERIFY(w.c().check4->isEnabled());
    QVERIFY(w.folderEntries().isEmpty());
    QCOMPARE(w.c().text3->text(), proposal);  // no new proposal after a refused count or size
}

void WindowRunTest::existingFileRefused() {
    TestWindow w;
    w.c().check5->setChecked(false);
    writeFile(w.pathIn("Kaleidrix_1.GIF"), "mine");  // appears after the proposal was made

    w.start("2", "20");

    QCOMPARE(w.messages.shown.size(), 1);  // no completion report
    QCOMPARE(w.messages.shown[0].icon, MessageIcon::Exclamation);
    QCOMPARE(w.messages.shown[0].title, QString("Ошибка"));
    QCOMPARE(w.messages.shown[0].text,
             QString("В этой папке уже есть такой файл :\r\n") + w.pathIn("Kaleidrix_1.GIF") + ".");
    QFile kept(w.pathIn("Kaleidrix_1.GIF"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("mine"));
    QVERIFY(w.shell.opened.isEmpty());
    QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_2.GIF"));
    verifyIdle(w, idleColour);

    // The next START goes ahead with the new proposal and reports as usual.
    w.start("1", "10");
    QVERIFY(decodeGif(w.pathIn("Kaleidrix_2.GIF")).ok);
    QCOMPARE(w.messages.shown.size(), 2);
    QCOMPARE(w.messages.shown[1].title, QString("Пестролик-1 - Ура!"));
}

void WindowRunTest::stopDuringFirstFrame() {
    TestWindow w;
    QString pictureWhenStopped;
    bool fileWhenStopped = false;
    duringRun([&] {
        pictureWhenStopped = w.c().label9->text();
        fileWhenStopped = QFile::exists(w.pathIn("Kaleidrix_1.GIF"));
        w.clickStart();
        // The STOP click itself shows the idle look, the blinking goes on until the run unwinds.
        QCOMPARE(w.c().command1->text(), startCaptionText);
        QCOMPARE(w.form().windowTitle(), QString("Пестролик-1"));
        QVERIFY(w.c().timer1->isActive());
    });
    w.start("3", "300");

    QCOMPARE(pictureWhenStopped, QString("Создаётся картинка  №  1"));
    QVERIFY(fileWhenStopped);
    QVERIFY(w.folderEntries().isEmpty());
    QCOMPARE(w.messages.shown.size(), 1);
    QCOMPARE(w.messages.shown[0].icon, MessageIcon::Exclamation);
    QCOMPARE(w.messages.shown[0].title, QString("Операция прервана"));
    QCOMPARE(w.messages.shown[0].text, stopMessage);
    verifyIdle(w, idleColour);
    QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_1.GIF"));
    QVERIFY(w.shell.opened.isEmpty());
    QCOMPARE(w.endProgramCalls, 0);
}

void WindowRunTest::startWhileStoppedRunUnwinds() {
    TestWindow w;
    duringRun([&] {
        w.clickStart();  // STOP
        w.clickStart();  // START before the run has noticed: ignored
    });
    w.start("3", "300");

    QCOMPARE(w.messages.shown.size(), 1);
    QCOMPARE(w.messages.shown[0].text, stopMessage);
    QVERIFY(w.folderEntries().isEmpty());
    verifyIdle(w, idleColour);

    // Once unwound, START works again.
    w.start("1", "10");
    QVERIFY(decodeGif(w.pathIn("Kaleidrix_1.GIF")).ok);
}

void WindowRunTest::closeDuringRun() {
    TestWindow w;
    duringRun([&] { QVERIFY(w.form().close()); });
    w.start("3", "300");

    QVERIFY(w.folderEntries().isEmpty());
    QVERIFY(!w.form().windowOpen());
    QCOMPARE(w.messages.shown.size(), 1);
    QCOMPARE(w.messages.shown[0].icon, MessageIcon::Exclamation);
    QCOMPARE(w.messages.shown[0].title, QString("Выход из программы"));
    QCOMPARE(w.messages.shown[0].text, exitMessage);
    QCOMPARE(w.endProgramCalls, 1);

    // Every setting is written first, then the run says so, then the program ends.
    const int firstSave = w.log.indexOf(QRegularExpression("save tem2/put=.*"));
    const int lastSave = w.log.indexOf(QRegularExpression("save met2/ope=.*"));
    const int message = w.log.indexOf("message Выход из программы");
    QVERIFY(firstSave >= 0);
    QVERIFY(firstSave < lastSave);
    QVERIFY(lastSave < message);
    QCOMPARE(w.log.last(), QString("end program"));
}

// STOP and closing in the same turn: the run is told to stop first, but nobody is
// left to go on with, so the program still ends and the file is still deleted.
void WindowRunTest::stopThenCloseStillEnds() {
    TestWindow w;
    duringRun([&] {
        w.clickStart();
        w.form().close();
    });
    w.start("3", "300");

    QVERIFY(w.folderEntries().isEmpty());
    QCOMPARE(w.messages.shown.size(), 1);
    QCOMPARE(w.messages.shown[0].text, exitMessage);
    QCOMPARE(w.endProgramCalls, 1);
}

void WindowRunTest::failures_data() {
    QTest::addColumn<bool>("missingFolder");
    QTest::addColumn<QString>("textStart");
    QTest::newRow("folder missing") << true << "Не удалось создать файл :\r\n";
    QTest::newRow("disk full while writing") << false << "Не удалось записать файл :\r\n";
}

void WindowRunTest::failures() {
    QFETCH(bool, missingFolder);
    QFETCH(QString, textStart);
    TestWindow w(nullptr, {}, [](WindowServices& services) {
        services.openSink = [](const std::string& path, CreateError& error) -> std::unique_ptr<ByteSink> {
            std::unique_ptr<ByteSink> file = FileSink::createNew(path, error);
            if (!file) return nullptr;
            return std::make_unique<FailingSink>(std::move(file), 2000);
        };
    });
    const QString path = missingFolder ? w.pathIn("gone/Kaleidrix_1.GIF") : w.pathIn("Kaleidrix_1.GIF");
    w.c().text3->setText(path);

    w.start("2", "100");

    QVERIFY(w.folderEntries().isEmpty());  // no partial file
    QCOMPARE(w.messages.shown.size(), 1);
    QCOMPARE(w.messages.shown[0].icon, MessageIcon::Exclamation);
    QCOMPARE(w.messages.shown[0].title, QString("Ошибка"));
    QVERIFY2(w.messages.shown[0].text.startsWith(textStart + path + "."), qPrintable(w.messages.shown[0].text));
    QVERIFY(w.shell.opened.isEmpty());  // a failure is not reported as a finished file
    verifyIdle(w, idleColour);
    QCOMPARE(w.c().text3->text(), path);  // left for the user to correct
    QCOMPARE(w.endProgramCalls, 0);
}

// What the window shows at every turn of the event loop during a run of 4 pictures
// of 100 x 100, drawn row by row on the window's thread.
void WindowRunTest::progressShown() {
    TestWindow w;
    w.form().run().setJobs(1);
    struct Sample {
        QString picture, percent;
        int frameStep, totalStep;
    };
    QList<Sample> samples;
    bool pixmapsMatch = true;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const Controls& c = w.c();
        if (!w.form().run().active()) return;
        samples.append({c.label9->text(), c.label7->text(), c.picture1->step(), c.picture2->step()});
        pixmapsMatch = pixmapsMatch &&
                       c.picture1->pixmap().toImage().convertToFormat(QImage::Format_RGB32) == progressImage(c.picture1->step()) &&
                       c.picture2->pixmap().toImage().convertToFormat(QImage::Format_RGB32) == progressImage(c.picture2->step());
    });
    sampler.start(0);
    w.start("4", "100");
    sampler.stop();

    QVERIFY(samples.size() > 400);  // at least one turn per encoded row
    QVERIFY(pixmapsMatch);
    QCOMPARE(samples.first().percent, QString("0 %  готово"));
    int lastPercent = -1;
    bool saw37 = false;
    for (const Sample& s : samples) {
        QVERIFY2(s.percent.endsWith(" %  готово"), qPrintable(s.percent));
        const int percent = s.percent.section(' ', 0, 0).toInt();
        QVERIFY(percent >= lastPercent);
        lastPercent = percent;
        // 37 % is rows 48..51 of picture 2: the picture strip at step 15 or 16, the total at 11 or 12.
        if (percent == 37) {
            saw37 = true;
            QCOMPARE(s.picture, QString("Создаётся картинка  №  2"));
            QVERIFY(s.frameStep == 15 || s.frameStep == 16);
            QVERIFY(s.totalStep == 11 || s.totalStep == 12);
        }
    }
    QVERIFY(saw37);
    QCOMPARE(lastPercent, 100);
    QCOMPARE(samples.last().picture, QString("Создаётся картинка  №  4"));
    verifyIdle(w, idleColour);
}

// Each tick swaps the system tool-tip colour and RGB(187, 255, 255); a run's end
// leaves RGB(255, 255, 238) until the next run's first tick.
void WindowRunTest::blinking() {
    TestWindow w;
    w.c().check5->setChecked(false);
    auto tick = [&] { QMetaObject::invokeMethod(w.c().timer1, "timeout"); };
    auto colour = [&] { return w.c().command1->palette().color(QPalette::Button); };
    const QColor tip = toolTipColour(), blink(187, 255, 255), idle(255, 255, 238);
    QVERIFY(tip != blink && tip != idle);

    QList<QColor> seen{colour()};
    bool timerRunning = false;
    duringRun([&] {
        timerRunning = w.c().timer1->isActive() && w.c().timer1->interval() == 1000;
        for (int i = 0; i < 3; ++i) {
            tick();
            seen << colour();
        }
    });
    w.start("1", "100");
    QVERIFY(timerRunning);
    QCOMPARE(seen, (QList<QColor>{tip, blink, tip, blink}));
    QCOMPARE(colour(), idle);
    QCOMPARE(w.c().command1->grab().toImage().pixelColor(40, 20), idle);  // drawn, not just set

    QColor firstTickOfNextRun;
    duringRun([&] {
        tick();
        firstTickOfNextRun = colour();
    });
    w.start("1", "100");
    QCOMPARE(firstTickOfNextRun, tip);
}

// "Повторить предыдущий рисунок" keeps the parameters of the last picture, size
// included; without it every press draws new ones.
void WindowRunTest::repeatPicture() {
    TestWindow w;
    w.c().check5->setChecked(false);
    w.start("1", "20");
    const PictureParams first = w.form().run().params();
    QCOMPARE(first.refSize, 20.0);

    w.c().check4->setChecked(true);
    w.start("1", "30");
    QCOMPARE(w.form().run().params(), first);

    w.c().check4->setChecked(false);
    w.start("1", "40");
    const PictureParams fresh = w.form().run().params();
    QCOMPARE(fresh.refSize, 40.0);
    PictureParams withoutSize = fresh;
    withoutSize.refSize = first.refSize;
    QVERIFY(withoutSize != first);
    for (const char* name : {"Kaleidrix_1.GIF", "Kaleidrix_2.GIF", "Kaleidrix_3.GIF"}) QVERIFY(decodeGif(w.pathIn(name)).ok);
}

PESTROLIK_WINDOW_TEST_MAIN(WindowRunTest)
#include "window_run_test.moc"
