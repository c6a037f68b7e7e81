// The window as the user first sees it: every control's kind, caption, place, font,
// colour and start state, the focus order, and the drawn progress images.

#include "window_test_support.h"

#include "window/controls.h"
#include "window/outline_shape.h"
#include "window/progress_strip.h"
#include "window/start_button.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeView>

using namespace pestrolik;
using namespace pestrolik::test;

class WindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init() { window_ = std::make_unique<TestWindow>(); }
    void cleanup() { window_.reset(); }

    void controls_data();
    void controls();
    void fonts_data();
    void fonts();
    void window();
    void focusOrder();
    void colours();
    void outlines();
    void startCaptionWraps();
    void progressImages_data();
    void progressImages();
    void strips();

private:
    QWidget* control(const char* name) {
        auto* found = window_->form().findChild<QWidget*>(QString::fromLatin1(name));
        if (!found) qFatal("no control %s", name);
        return found;
    }
    std::unique_ptr<TestWindow> window_;
};

void WindowLayoutTest::controls_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");

    const QString start = QStringLiteral("                 СТАРТ                 (Создаём анимированный GIF) ");
    QTest::newRow("Command1") << "QPushButton" << start << QRect(24, 184, 185, 41) << true << true;
    QTest::newRow("Command2") << "QPushButton" << "Помощь" << QRect(384, 16, 57, 25) << true << true;
    QTest::newRow("Command3") << "QPushButton" << "О программе" << QRect(448, 16, 81, 25) << true << true;
    QTest::newRow("Command4") << "QPushButton" << "Выход" << QRect(480, 168, 49, 25) << true << true;
    QTest::newRow("Command7") << "QPushButton" << "Перейти к программе" << QRect(168, 200, 121, 25) << false << true;
    QTest::newRow("Text1") << "QLineEdit" << "3" << QRect(176, 16, 41, 25) << true << true;
    QTest::newRow("Text2") << "QLineEdit" << "200" << QRect(176, 64, 41, 25) << true << true;
    QTest::newRow("Text3") << "QLineEdit" << QString() << QRect(232, 168, 241, 21) << true << true;
    QTest::newRow("Check2") << "QCheckBox" << "Мобильный размер 128 x 128" << QRect(16, 112, 185, 20) << true << true;
    QTest::newRow("Check3") << "QCheckBox" << "Фон должен быть неподвижным" << QRect(16, 128, 193, 25) << true << true;
    QTest::newRow("Check4") << "QCheckBox" << "Повторить предыдущий рисунок" << QRect(16, 152, 201, 23) << true << false;
    QTest::newRow("Check5") << "QCheckBox" << "В конце открыть для просмотра" << QRect(240, 192, 193, 13) << true << true;
    QTest::newRow("Drive1") << "QComboBox" << QString() << QRect(232, 24, 145, 21) << true << true;
    QTest::newRow("Dir1") << "QTreeView" << QString() << QRect(232, 56, 145, 96) << true << true;
    QTest::newRow("File1") << "QListView" << QString() << QRect(384, 56, 145, 97) << true << true;
    QTest::newRow("Picture1") << "QLabel" << QString() << QRect(240, 208, 289, 17) << true << true;
    QTest::newRow("Picture2") << "QLabel" << QString() << QRect(240, 232, 289, 17) << true << true;
    QTest::newRow("Label2") << "QLabel" << "Количество картинок" << QRect(24, 24, 153, 17) << true << true;
    QTest::newRow("Label1") << "QLabel" << "Размер" << QRect(64, 64, 57, 17) << true << true;
    QTest::newRow("Label3") << "QLabel" << "(ширина и высота в пикселях)" << QRect(16, 80, 169, 17) << true << true;
    QTest::newRow("Label4") << "QLabel" << "Место сохранения :" << QRect(256, 8, 121, 17) << true << true;
    QTest::newRow("Label5") << "QLabel" << "Путь и имя будущего файла :" << QRect(232, 152, 153, 17) << true << true;
    QTest::newRow("Label7") << "QLabel" << "" << QRect(8, 232, 81, 17) << true << true;
    QTest::newRow("Label9") << "QLabel" << "" << QRect(88, 232, 145, 17) << true << true;
    QTest::newRow("Label10") << "QLabel" << "Web :   http://pestrolik.test" << QRect(192, 136, 145, 25) << false << true;
    QTest::newRow("Label15") << "QLabel" << "E-mail :      team@p1.test" << QRect(200, 160, 137, 17) << false << true;
    QTest::newRow("Shape1") << "QWidget" << QString() << QRect(8, 8, 217, 41) << true << true;
    QTest::newRow("Shape2") << "QWidget" << QString() << QRect(8, 56, 217, 41) << true << true;
    QTest::newRow("Shape3") << "QWidget" << QString() << QRect(8, 104, 217, 73) << true << true;
}

void WindowLayoutTest::controls() {
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QRect, place);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);

    QWidget* widget = control(QTest::currentDataTag());
    QVERIFY2(widget->inherits(kind.toLatin1()), widget->metaObject()->className());
    QCOMPARE(widget->parentWidget(), &window_->form());
    QCOMPARE(widget->geometry(), place);
    QCOMPARE(widget->isVisibleTo(&window_->form()), visible);
    QCOMPARE(widget->isEnabled(), enabled);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) QCOMPARE(button->text(), caption);
    if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && !caption.isNull()) QCOMPARE(edit->text(), caption);
    if (auto* label = qobject_cast<QLabel*>(widget); label && !caption.isNull()) QCOMPARE(label->text(), caption);
}

void WindowLayoutTest::fonts_data() {
    QTest::addColumn<bool>("arial975");
    for (const char* name : {"Text1", "Text2", "Label1", "Label2"}) QTest::newRow(name) << true;
    for (const char* name : {"Text3", "Label3", "Label4", "Check2", "Command1", "File1"}) QTest::newRow(name) << false;
}

void WindowLayoutTest::fonts() {
    QFETCH(bool, arial975);
    const QWidget* widget = control(QTest::currentDataTag());
    if (arial975) {
        QCOMPARE(widget->font().pointSizeF(), 9.75);
        // Arial itself or its metric twin, whichever the machine has.
        const QString family = QFontInfo(widget->font()).family();
        QVERIFY2(family == "Arial" || family == "Liberation Sans", qPrintable(family));
    } else {
        QCOMPARE(widget->font(), window_->form().font());
    }
    // Cyrillic must be drawable in the font the control got.
    QVERIFY(QFontMetrics(widget->font()).inFont(QChar(u'Ж')));
}

void WindowLayoutTest::window() {
    Form1& form = window_->form();
    QCOMPARE(form.objectName(), QString("Form1"));
    QCOMPARE(form.windowTitle(), QString("Пестролик-1"));
    QCOMPARE(form.size(), QSize(537, 255));
    QCOMPARE(form.minimumSize(), QSize(537, 255));
    QCOMPARE(form.maximumSize(), QSize(537, 255));
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    const QPixmap icon = form.windowIcon().pixmap(32, 32);
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(!icon.toImage().allGray());  // drawn, not an empty placeholder
}

void WindowLayoutTest::focusOrder() {
    const QStringList expected = {"Command1", "Command2", "Command3", "Text2", "Text1",  "Check2",   "Check3",
                                  "Drive1",   "Dir1",     "File1",    "Check4", "Text3", "Command4", "Check5"};
    QStringList seen;
    QWidget* first = control("Command1");
    for (QWidget* w = first; seen.size() < expected.size();) {
        if (expected.contains(w->objectName()) && !seen.contains(w->objectName())) seen << w->objectName();
        w = w->nextInFocusChain();
        if (w == first) break;
    }
    QCOMPARE(seen, expected);
    QCOMPARE(window_->form().focusWidget(), control("Command1"));
    for (const char* name : {"Label1", "Label7", "Picture1", "Shape3"}) QCOMPARE(control(name)->focusPolicy(), Qt::NoFocus);
}

void WindowLayoutTest::colours() {
    QCOMPARE(control("Dir1")->palette().color(QPalette::Text), QColor(0, 0, 128));
    QCOMPARE(control("File1")->palette().color(QPalette::Text), QColor(0, 0, 128));
    QCOMPARE(control("Label10")->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    QCOMPARE(control("Label15")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    auto* start = static_cast<StartButton*>(control("Command1"));
    QVERIFY(start->showsToolTipColour());
    QCOMPARE(start->palette().color(QPalette::Button), toolTipColour());
}

void WindowLayoutTest::outlines() {
    struct Expected {
        const char* name;
        OutlineShape::Corners corners;
        QColor colour;
    };
    for (const Expected& e : {Expected{"Shape1", OutlineShape::Corners::Rounded, QColor(128, 128, 128)},
                              Expected{"Shape2", OutlineShape::Corners::Rounded, QColor(128, 128, 128)},
                              Expected{"Shape3", OutlineShape::Corners::Square, QColor(128, 64, 0)}}) {
        auto* shape = static_cast<OutlineShape*>(control(e.name));
        QCOMPARE(shape->corners(), e.corners);
        // The drawn outline itself: the middle of its top edge has the colour, its inside does not.
        const QImage drawn = shape->grab().toImage();
        QCOMPARE(QColor(drawn.pixel(drawn.width() / 2, 0)), e.colour);
        QVERIFY(QColor(drawn.pixel(drawn.width() / 2, drawn.height() / 2)) != e.colour);
        // Clicks go through to the controls inside.
        QVERIFY(shape->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
}

// The caption wraps into two lines, "СТАРТ" centred on the first.
void WindowLayoutTest::startCaptionWraps() {
    QWidget* button = control("Command1");
    const QImage drawn = button->grab().toImage();
    const int inkLightness = button->palette().color(QPalette::ButtonText).lightness();
    struct Band {
        int left, right, lastRow;
    };
    QList<Band> bands;  // runs of rows holding ink, top to bottom
    for (int y = 3; y < drawn.height() - 3; ++y) {
        int left = drawn.width(), right = -1;
        for (int x = 3; x < drawn.width() - 3; ++x)
            if (qAbs(drawn.pixelColor(x, y).lightness() - inkLightness) < 100) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        if (right < 0) continue;
        if (bands.isEmpty() || bands.last().lastRow < y - 1)
            bands.append({left, right, y});
        else
            bands.last() = {std::min(bands.last().left, left), std::max(bands.last().right, right), y};
    }
    QCOMPARE(bands.size(), 2);
    // The first line is only the word, in the middle of the button.
    const Band& word = bands.first();
    const double middle = (word.left + word.right) / 2.0;
    QVERIFY2(qAbs(middle - drawn.width() / 2.0) <= 4, qPrintable(QString::number(middle)));
    QVERIFY(word.right - word.left < drawn.width() / 3);
    QVERIFY(bands.last().right - bands.last().left > drawn.width() / 2);
}

void WindowLayoutTest::progressImages_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("blockPixels");
    for (int step : {0, 1, 2, 16, 31}) QTest::addRow("image %d", step) << step << 7 * 11 * step;
    QTest::addRow("image 32") << 32 << 7 * 11 * 31 + 4 * 11;  // the last block is cut to 4 columns
}

void WindowLayoutTest::progressImages() {
    QFETCH(int, step);
    QFETCH(int, blockPixels);
    const QImage image = progressImage(step);
    QCOMPARE(image.size(), QSize(285, 13));
    const QRgb background = qRgb(224, 223, 227), block = qRgb(178, 180, 191);
    int blocks = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) | 0xFF000000;
            QVERIFY(pixel == background || pixel == block);
            blocks += pixel == block;
            if (x == 0 || y == 0 || x == 284 || y == 12) QCOMPARE(pixel, background);
        }
    QCOMPARE(blocks, blockPixels);
    if (step >= 1) {
        QCOMPARE(image.pixel(1, 1) | 0xFF000000, block);   // block 0 starts at column 1
        QCOMPARE(image.pixel(7, 11) | 0xFF000000, block);  // and ends at column 7, row 11
        QCOMPARE(image.pixel(8, 5) | 0xFF000000, background);  // the 2-pixel gap
        QCOMPARE(image.pixel(9, 5) | 0xFF000000, background);
    }
    if (step == 32) {
        QCOMPARE(image.pixel(280, 5) | 0xFF000000, block);
        QCOMPARE(image.pixel(283, 5) | 0xFF000000, block);
    }
}

void WindowLayoutTest::strips() {
    for (const char* name : {"Picture1", "Picture2"}) {
        auto* strip = static_cast<ProgressStrip*>(control(name));
        QCOMPARE(strip->frameWidth(), 2);
        QCOMPARE(strip->frameShadow(), QFrame::Sunken);
        QCOMPARE(strip->contentsRect().size(), QSize(285, 13));
        QCOMPARE(strip->pixmap().toImage().convertToFormat(QImage::Format_RGB32), progressImage(0));
    }
}

PESTROLIK_WINDOW_TEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
