// The about mode of the window: which controls step aside, the way back, the song
// played through the MIDI output, and a run going on underneath.

#include "window_test_support.h"

#include "window/about_screen.h"
#include "window/controls.h"
#include "window/progress_strip.h"
#include "window/start_button.h"
#include "window/window_music.h"
#include "window/window_run.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

using namespace pestrolik;
using namespace pestrolik::test;

namespace {

// Every control the about screen moves, and whether it shows there.
const QList<QPair<const char*, bool>> aboutVisibility = {
    {"Shape1", false},  {"Shape2", false},   {"Shape3", false},  {"Text1", false},   {"Label3", false},
    {"Label2", false},  {"Label1", false},   {"Text2", false},   {"Text3", false},   {"Label4", false},
    {"Label5", false},  {"Label10", true},   {"Label15", true},  {"Check2", false},  {"Check3", false},
    {"Check4", false},  {"Check5", false},   {"Command1", false}, {"Command2", false}, {"Command3", false},
    {"Command7", true}, {"Drive1", false},   {"Dir1", false},    {"File1", false},   {"Picture1", false},
    {"Picture2", false},
};

QWidget* named(Form1& form, const char* name) { return form.findChild<QWidget*>(QString::fromLatin1(name)); }

uint32_t programChange(int channel, int program) { return uint32_t(0xC0 | (channel - 1)) | uint32_t(program) << 8; }

}  // namespace

class AboutScreenTest : public QObject {
    Q_OBJECT

private slots:
    void opensAndReturns();
    void playsTheNextVoicesAndStopsOnReturn();
    void printsTheAboutText();
    void aRunGoesOnUnderneath();
    void cancelEndsTheProgram();
};

void AboutScreenTest::opensAndReturns() {
    TestWindow w;
    Form1& form = w.form();
    QTest::mouseClick(w.c().command3, Qt::LeftButton);
    QVERIFY(form.aboutMode());
    QCOMPARE(form.windowTitle(), QStringLiteral("Пестролик-1 - О программе"));
    for (const auto& [name, shown] : aboutVisibility)
        QVERIFY2(named(form, name)->isVisible() == shown, name);
    QCOMPARE(w.c().command4->text(), QStringLiteral("Отмена"));
    QCOMPARE(w.c().command4->geometry(), QRect(304, 200, 49, 25));
    QVERIFY(w.c().command4->isVisible());
    QVERIFY(w.c().label7->isVisible() && w.c().label9->isVisible());  // not the about screen's business

    QTest::mouseClick(w.c().command7, Qt::LeftButton);
    QVERIFY(!form.aboutMode());
    QCOMPARE(form.windowTitle(), QStringLiteral("Пестролик-1"));
    for (const auto& [name, shown] : aboutVisibility)
        QVERIFY2(named(form, name)->isVisible() == !shown, name);
    QCOMPARE(w.c().command4->text(), QStringLiteral("Выход"));
    QCOMPARE(w.c().command4->geometry(), QRect(480, 168, 49, 25));
}

void AboutScreenTest::playsTheNextVoicesAndStopsOnReturn() {
    TestWindow w;  // start-up built the song once with every counter at 0
    QVERIFY(w.midi.events().empty());
    QVERIFY(!w.c().timer3->isActive());

    QTest::mouseClick(w.c().command3, Qt::LeftButton);
    QVERIFY(w.c().timer3->isActive());
    QCOMPARE(w.c().timer3->interval(), 155);
    QCOMPARE(w.midi.events().front().call, RecordingMidiOutput::Call::Open);
    QTRY_VERIFY_WITH_TIMEOUT(w.midi.sent().size() >= 3, 5000);
    // The second build of this run of the program: background 91, bass 34, solo 75.
    const auto sent = w.midi.sent();
    QCOMPARE(sent[0], programChange(1, 91));
    QCOMPARE(sent[1], programChange(4, 34));
    QCOMPARE(sent[2], programChange(2, 75));
    QCOMPARE(QString::fromStdString(w.memorySettings.get("met2", "sol", "?")), QStringLiteral("2"));

    QTest::mouseClick(w.c().command7, Qt::LeftButton);
    QVERIFY(!w.c().timer3->isActive());
    QCOMPARE(w.midi.events().back().call, RecordingMidiOutput::Call::Close);
    const size_t heard = w.midi.sent().size();
    QTest::qWait(400);
    QCOMPARE(w.midi.sent().size(), heard);

    // Opening again starts the song from its first step, with the next voices.
    w.midi.forget();
    QTest::mouseClick(w.c().command3, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!w.midi.sent().empty(), 5000);
    QCOMPARE(w.midi.sent().front(), programChange(1, 85));
    QCOMPARE(w.form().music().player().isPlaying(), true);
}

void AboutScreenTest::printsTheAboutText() {
    const QStringList lines = AboutScreen::lines();
    QCOMPARE(lines.size(), 6);
    QVERIFY(lines[0].isEmpty() && lines[1].isEmpty() && lines[5].isEmpty());
    QVERIFY(lines[2].startsWith(QString(20, u' ') + QStringLiteral("Пестролик-1.") + QString(6, u' ')));
    QVERIFY(!lines[2].at(38).isSpace());  // the rights notice follows the six spaces
    QVERIFY(lines[4].startsWith(QString(74, u' ')) && !lines[4].at(74).isSpace());

    TestWindow w;
    QTest::mouseClick(w.c().command3, Qt::LeftButton);
    const QImage shot = w.form().grab().toImage();
    // Dark text where the title line stands, nothing dark in the indent before it.
    const int lineHeight = QFontMetrics(w.form().font()).height();
    auto darkPixels = [&](QRect area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += qGray(shot.pixel(x, y)) < 100;
        return n;
    };
    const int indent = QFontMetrics(w.form().font()).horizontalAdvance(QString(20, u' '));
    const QRect titleBand(0, 2 * lineHeight, shot.width(), lineHeight);
    QVERIFY(darkPixels(titleBand.adjusted(indent, 0, 0, 0)) > 50);
    QCOMPARE(darkPixels(QRect(0, 2 * lineHeight, indent - 1, lineHeight)), 0);
}

void AboutScreenTest::aRunGoesOnUnderneath() {
    TestWindow w;
    w.c().check5->setChecked(false);
    bool seenDuringRun = false;
    bool stripKeptDuringRun = false;
    QTimer::singleShot(30, &w.form(), [&] {
        QTest::mouseClick(w.c().command3, Qt::LeftButton);  // inside the run's yields
        seenDuringRun = w.form().run().active();
        stripKeptDuringRun = w.c().picture2->isVisible() && !w.c().picture1->isVisible();
    });
    w.start(QStringLiteral("30"), QStringLiteral("400"));
    QVERIFY(seenDuringRun);
    QVERIFY(stripKeptDuringRun);
    QVERIFY(QFile::exists(w.pathIn(QStringLiteral("Kaleidrix_1.GIF"))));
    QVERIFY(w.form().aboutMode());
    QVERIFY(!w.c().picture2->isVisible());  // the run's end hides it on the about screen
    QVERIFY(!w.c().command1->isVisible());

    QTest::mouseClick(w.c().command7, Qt::LeftButton);
    QVERIFY(w.c().picture1->isVisible() && w.c().picture2->isVisible());
    QVERIFY(w.c().command1->isVisible());
}

void AboutScreenTest::cancelEndsTheProgram() {
    TestWindow w;
    QTest::mouseClick(w.c().command3, Qt::LeftButton);
    QTest::mouseClick(w.c().command4, Qt::LeftButton);
    QVERIFY(!w.form().isVisible());
    QCOMPARE(w.endProgramCalls, 1);
    QCOMPARE(w.midi.events().back().call, RecordingMidiOutput::Call::Close);
    const int saved = w.log.indexOf(QRegularExpression(QStringLiteral("^save tem2/put=.*")));
    QVERIFY(saved >= 0);
    QVERIFY(saved < w.log.indexOf(QStringLiteral("end program")));
}

PESTROLIK_WINDOW_TEST_MAIN(AboutScreenTest)
#include "about_screen_test.moc"
