// The window as the user sees it: every control from the layout table, the drawn
// pieces (start caption, outlines, progress images), the help box and real message
// box, the links, the mobile-size box, and the about screen with its song.

#include "window_test_support.h"

#include "data_table.h"
#include "window/about_screen.h"
#include "window/link_label.h"
#include "window/message_boxes.h"
#include "window/outline_shape.h"
#include "window/progress_strip.h"
#include "window/shell.h"
#include "window/start_button.h"
#include "window/window_music.h"
#include "window/window_run.h"

#include <QDialog>
#include <QFontInfo>

using namespace pestrolik;
using namespace pestrolik::test;
using pestrolik::testing::readDataTable;

namespace {

QWidget* named(Form1& form, const QString& name) {
    auto* found = form.findChild<QWidget*>(name);
    if (!found) qFatal("no control %s", qPrintable(name));
    return found;
}

QRect rectFrom(const std::string& text) {
    const QStringList n = QString::fromStdString(text).split(' ');
    return {n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt()};
}

uint32_t programChange(int channel, int program) { return uint32_t(0xC0 | (channel - 1)) | uint32_t(program) << 8; }

// Rows of `image` holding dark ink, as bands of [left, right] columns.
QList<QPair<int, int>> inkBands(const QImage& image, QColor ink) {
    QList<QPair<int, int>> bands;
    bool inBand = false;
    for (int y = 3; y < image.height() - 3; ++y) {
        int left = image.width(), right = -1;
        for (int x = 3; x < image.width() - 3; ++x)
            if (qAbs(image.pixelColor(x, y).lightness() - ink.lightness()) < 100) left = std::min(left, x), right = x;
        if (right >= 0 && !inBand) bands.append({left, right});
        if (right >= 0) bands.last() = {std::min(bands.last().first, left), std::max(bands.last().second, right)};
        inBand = right >= 0;
    }
    return bands;
}

}  // namespace

class WindowControlsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { w_ = std::make_unique<TestWindow>(); }
    void cleanup() { w_.reset(); }

    void layoutTable();
    void windowAndFocus();
    void drawnPieces();
    void progressImages();
    void helpAndLinks();
    void realMessageBox();
    void mobileSize();
    void aboutScreen();
    void aboutSong();
    void aboutDuringRun();

private:
    std::unique_ptr<TestWindow> w_;
};

void WindowControlsTest::layoutTable() {
    const auto rows = readDataTable(TEST_DATA_DIR "/controls.txt");
    QCOMPARE(rows.size(), size_t(29));
    Form1& form = w_->form();
    for (const auto& row : rows) {
        const QString name = QString::fromStdString(row[0]);
        const QString caption = QString::fromStdString(row.size() > 7 ? row[7] : std::string());
        QWidget* widget = named(form, name);
        QVERIFY2(widget->inherits(row[1].c_str()), qPrintable(name));
        QCOMPARE(widget->geometry(), rectFrom(row[2]));
        QCOMPARE(widget->isVisibleTo(&form), row[3] == "1");
        QCOMPARE(widget->isEnabled(), row[4] == "1");
        if (row[5] == "box") {
            QCOMPARE(widget->font().pointSizeF(), 9.75);
            QVERIFY(QStringList({"Arial", "Liberation Sans"}).contains(QFontInfo(widget->font()).family()));
        } else {
            QCOMPARE(widget->font(), form.font());
        }
        QVERIFY(QFontMetrics(widget->font()).inFont(QChar(u'Ж')));
        if (caption == "-") continue;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) QCOMPARE(button->text(), caption);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) QCOMPARE(edit->text(), caption);
        if (auto* label = qobject_cast<QLabel*>(widget)) QCOMPARE(label->text(), caption);
    }
}

void WindowControlsTest::windowAndFocus() {
    Form1& form = w_->form();
    QCOMPARE(form.windowTitle(), QString("Пестролик-1"));
    QCOMPARE(form.font().pointSizeF(), 8.25);
    QCOMPARE(form.minimumSize(), QSize(537, 255));
    QCOMPARE(form.maximumSize(), QSize(537, 255));
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!form.windowIcon().pixmap(32, 32).toImage().allGray());
    QCOMPARE(w_->c().timer1->interval(), 1000);
    QCOMPARE(w_->c().timer3->interval(), 155);

    const QStringList order = {"Command1", "Command2", "Command3", "Text2", "Text1",  "Check2",   "Check3",
                               "Drive1",   "Dir1",     "File1",    "Check4", "Text3", "Command4", "Check5"};
    QWidget* w = named(form, order[0]);
    QCOMPARE(form.focusWidget(), w);
    for (const QString& next : order.mid(1)) {
        do w = w->nextInFocusChain();
        while (!order.contains(w->objectName()) && w != named(form, order[0]));
        QCOMPARE(w->objectName(), next);
    }
    QCOMPARE(named(form, "Label7")->focusPolicy(), Qt::NoFocus);
}

// Colours, outlines, the sunken strips and the START caption wrapped with "СТАРТ"
// alone and centred on its line.
void WindowControlsTest::drawnPieces() {
    const Controls& c = w_->c();
    QCOMPARE(c.dir1->palette().color(QPalette::Text), QColor(0, 0, 128));
    QCOMPARE(c.file1->palette().color(QPalette::Text), QColor(0, 0, 128));
    QCOMPARE(c.label10->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    QCOMPARE(c.label15->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(c.command1->palette().color(QPalette::Button), toolTipColour());

    for (auto [shape, corners, colour] : {std::tuple{c.shape1, OutlineShape::Corners::Rounded, QColor(128, 128, 128)},
                                          {c.shape2, OutlineShape::Corners::Rounded, QColor(128, 128, 128)},
                                          {c.shape3, OutlineShape::Corners::Square, QColor(128, 64, 0)}}) {
        QCOMPARE(shape->corners(), corners);
        const QImage drawn = shape->grab().toImage();
        QCOMPARE(QColor(drawn.pixel(drawn.width() / 2, 0)), colour);
        QVERIFY(QColor(drawn.pixel(drawn.width() / 2, drawn.height() / 2)) != colour);
        QVERIFY(shape->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
    for (ProgressStrip* strip : {c.picture1, c.picture2}) {
        QCOMPARE(strip->frameShadow(), QFrame::Sunken);
        QCOMPARE(strip->contentsRect().size(), QSize(285, 13));
        QCOMPARE(strip->pixmap().toImage().convertToFormat(QImage::Format_RGB32), progressImage(0));
    }

    const QImage button = c.command1->grab().toImage();
    const auto bands = inkBands(button, c.command1->palette().color(QPalette::ButtonText));
    QCOMPARE(bands.size(), 2);
    QVERIFY(qAbs((bands[0].first + bands[0].second) / 2.0 - button.width() / 2.0) <= 4);
    QVERIFY(bands[0].second - bands[0].first < button.width() / 3);
    QVERIFY(bands[1].second - bands[1].first > button.width() / 2);
}

// Image k: k blocks of 7 x 11 pixels from column 1 every 9 columns, the last cut at
// column 283; everything else the background.
void WindowControlsTest::progressImages() {
    const QRgb background = qRgb(224, 223, 227), block = qRgb(178, 180, 191);
    for (int step : {0, 1, 16, 31, 32}) {
        const QImage image = progressImage(step);
        QCOMPARE(image.size(), QSize(285, 13));
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 285; ++x) {
                const bool inBlock = y >= 1 && y <= 11 && x >= 1 && x <= 283 && (x - 1) % 9 < 7 && (x - 1) / 9 < step;
                QCOMPARE(image.pixel(x, y) | 0xFF000000, inBlock ? block : background);
            }
    }
}

void WindowControlsTest::helpAndLinks() {
    QTest::mouseClick(w_->c().command2, Qt::LeftButton);
    QCOMPARE(w_->messages.shown.size(), 1);
    const ShownMessage& help = w_->messages.shown.first();
    QCOMPARE(help.icon, MessageIcon::Information);
    QCOMPARE(help.title, QString("Как работать с программой \"Пестролик-1\"."));
    QStringList expected;
    for (const std::string& line : pestrolik::testing::readDataLines(TEST_DATA_DIR "/help.txt"))
        expected << QString::fromStdString(line);
    QCOMPARE(help.text, expected.join("\r\n"));

    for (LinkLabel* link : {w_->c().label10, w_->c().label15}) {
        link->show();  // as the about screen shows it
        QTest::mouseClick(link, Qt::LeftButton);
    }
    QCOMPARE(w_->shell.opened, (QStringList{"http://pestrolik.test", "mailto:team@p1.test"}));
    QCOMPARE(shellUrl("/tmp/a b/x:y.gif"), QUrl::fromLocalFile("/tmp/a b/x:y.gif"));
    QCOMPARE(shellUrl("//Kaleidrix_1.GIF"), QUrl::fromLocalFile("//Kaleidrix_1.GIF"));
    QCOMPARE(shellUrl("mailto:team@p1.test"), QUrl("mailto:team@p1.test"));
}

// The real box: title, unwrapped lines, an icon only when asked for, and OK closes it.
void WindowControlsTest::realMessageBox() {
    QtMessageBoxes boxes;
    boxes.setOwner(&w_->form());
    const QString longLine(120, u'ш');
    for (MessageIcon icon : {MessageIcon::None, MessageIcon::Exclamation}) {
        int pictures = -1;
        QString title, text;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            pictures = 0;
            for (const QLabel* label : box->findChildren<QLabel*>())
                label->pixmap().isNull() ? void(text = label->text()) : void(++pictures);
            QTest::keyClick(box, Qt::Key_Return);
        });
        boxes.show(icon, "Ошибка", longLine + "\r\nвторая");
        QCOMPARE(title, QString("Ошибка"));
        QCOMPARE(text, longLine + "\nвторая");
        QCOMPARE(pictures, icon == MessageIcon::None ? 0 : 1);
    }
}

// Ticking keeps the size text's number and shows 128, unticking brings the number
// back (the last kept one when the text held none); while ticked, the box returns to
// 128 whenever it loses the focus.
void WindowControlsTest::mobileSize() {
    QLineEdit* size = w_->c().text2;
    for (auto [typed, back] : {std::pair{"  250px", "250"}, {"2.5", "2.5"}, {"abc", "2.5"}, {"-", "2.5"}}) {
        size->setText(typed);
        w_->c().check2->click();
        QCOMPARE(size->text(), QString("128"));
        w_->c().check2->click();
        QCOMPARE(size->text(), QString(back));
    }
    QApplication::setActiveWindow(&w_->form());
    QVERIFY(QTest::qWaitForWindowActive(&w_->form()));
    for (bool ticked : {true, false}) {
        w_->c().check2->setChecked(ticked);
        size->setFocus();
        QTRY_VERIFY(size->hasFocus());
        size->selectAll();
        QTest::keyClicks(size, "500");
        w_->c().text1->setFocus();
        QTRY_VERIFY(!size->hasFocus());
        QCOMPARE(size->text(), QString(ticked ? "128" : "500"));
    }
}

void WindowControlsTest::aboutScreen() {
    Form1& form = w_->form();
    const auto rows = readDataTable(TEST_DATA_DIR "/controls.txt");
    QTest::mouseClick(w_->c().command3, Qt::LeftButton);
    QVERIFY(form.aboutMode());
    QCOMPARE(form.windowTitle(), QString("Пестролик-1 - О программе"));
    for (const auto& row : rows) QVERIFY2(named(form, row[0].c_str())->isVisible() == (row[6] == "1"), row[0].c_str());
    QCOMPARE(w_->c().command4->text(), QString("Отмена"));
    QCOMPARE(w_->c().command4->geometry(), QRect(304, 200, 49, 25));

    // The text: a blank line pair, then the title line 20 spaces in; nothing in the indent.
    const QStringList lines = AboutScreen::lines();
    QCOMPARE(lines.size(), 6);
    QVERIFY(lines[2].startsWith(QString(20, u' ') + "Пестролик-1." + QString(6, u' ')) && !lines[2].at(38).isSpace());
    QVERIFY(lines[4].startsWith(QString(74, u' ')) && !lines[4].at(74).isSpace());
    const QImage shot = form.grab().toImage();
    const int lineHeight = QFontMetrics(form.font()).height();
    const int indent = QFontMetrics(form.font()).horizontalAdvance(QString(20, u' '));
    auto dark = [&](int left, int right) {
        int n = 0;
        for (int y = 2 * lineHeight; y < 3 * lineHeight; ++y)
            for (int x = left; x < right; ++x) n += qGray(shot.pixel(x, y)) < 100;
        return n;
    };
    QCOMPARE(dark(0, indent), 0);
    QVERIFY(dark(indent, shot.width()) > 50);

    QTest::mouseClick(w_->c().command7, Qt::LeftButton);
    QCOMPARE(form.windowTitle(), QString("Пестролик-1"));
    for (const auto& row : rows) QVERIFY2(named(form, row[0].c_str())->isVisible() == (row[3] == "1"), row[0].c_str());
    QCOMPARE(w_->c().command4->geometry(), QRect(480, 168, 49, 25));
    QCOMPARE(w_->c().command4->text(), QString("Выход"));

    // "Отмена" leaves the program like "Выход": settings saved, then the end.
    QTest::mouseClick(w_->c().command3, Qt::LeftButton);
    QTest::mouseClick(w_->c().command4, Qt::LeftButton);
    QCOMPARE(w_->endProgramCalls, 1);
    const int saved = w_->log.indexOf(QRegularExpression("^save tem2/put=.*"));
    QVERIFY(saved >= 0 && saved < w_->log.indexOf("end program"));
}

// Start-up built the song once; opening builds the next voices (91, 34, 75) and plays
// them; going back stops the steps and closes the output.
void WindowControlsTest::aboutSong() {
    const Controls& c = w_->c();
    QVERIFY(w_->midi.events().empty());
    QTest::mouseClick(c.command3, Qt::LeftButton);
    QVERIFY(c.timer3->isActive());
    QCOMPARE(w_->midi.events().front().call, RecordingMidiOutput::Call::Open);
    QTRY_VERIFY_WITH_TIMEOUT(w_->midi.sent().size() >= 3, 5000);
    QCOMPARE(w_->midi.sent()[0], programChange(1, 91));
    QCOMPARE(w_->midi.sent()[1], programChange(4, 34));
    QCOMPARE(w_->midi.sent()[2], programChange(2, 75));

    QTest::mouseClick(c.command7, Qt::LeftButton);
    QVERIFY(!c.timer3->isActive());
    QCOMPARE(w_->midi.events().back().call, RecordingMidiOutput::Call::Close);
    const size_t heard = w_->midi.sent().size();
    QTest::qWait(400);
    QCOMPARE(w_->midi.sent().size(), heard);

    w_->midi.forget();
    QTest::mouseClick(c.command3, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!w_->midi.sent().empty(), 5000);
    QCOMPARE(w_->midi.sent().front(), programChange(1, 85));
}

// Opened during a run: the whole-file strip stays until the run ends, then goes.
void WindowControlsTest::aboutDuringRun() {
    const Controls& c = w_->c();
    c.check5->setChecked(false);
    bool stripKept = false;
    QTimer::singleShot(30, &w_->form(), [&] {
        QTest::mouseClick(c.command3, Qt::LeftButton);
        stripKept = w_->form().run().active() && c.picture2->isVisible() && !c.picture1->isVisible();
    });
    w_->start("30", "400");
    QVERIFY(stripKept);
    QVERIFY(QFile::exists(w_->pathIn("Kaleidrix_1.GIF")));
    QVERIFY(!c.picture2->isVisible());
    QTest::mouseClick(c.command7, Qt::LeftButton);
    QVERIFY(c.picture1->isVisible() && c.picture2->isVisible());
}

PESTROLIK_WINDOW_TEST_MAIN(WindowControlsTest)
#include "window_controls_test.moc"
