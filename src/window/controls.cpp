#include "window/controls.h"

#include "common/contact.h"
#include "window/link_label.h"
#include "window/outline_shape.h"
#include "window/progress_strip.h"
#include "window/start_button.h"
#include "window/utf8_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

namespace pestrolik {

namespace {

constexpr QRgb navy = 0xFF000080;
constexpr QRgb darkRed = 0xFF800000;
constexpr QRgb blue = 0xFF0000FF;
constexpr QRgb grey = 0xFF808080;
constexpr QRgb brown = 0xFF804000;

template <class Widget, class... Args>
Widget* place(QWidget* form, const char* name, QRect rect, Args&&... args) {
    auto* widget = new Widget(std::forward<Args>(args)..., form);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(rect);
    return widget;
}

QLabel* label(QWidget* form, const char* name, QRect rect, const QString& caption) {
    auto* made = place<QLabel>(form, name, rect, caption);
    made->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return made;
}

void useTextColour(QWidget* widget, QPalette::ColorRole role, QRgb colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, QColor::fromRgb(colour));
    widget->setPalette(palette);
}

// Arial 9.75 pt for the count and size and their captions; a metric twin stands in
// where Arial is missing.
QFont boxFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPointSizeF(9.75);
    return font;
}

}  // namespace

QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPointSizeF(8.25);
    return font;
}

Controls createControls(QWidget* form) {
    Controls c{};
    // Outlines first, so that everything inside them lies above.
    c.shape1 = place<OutlineShape>(form, "Shape1", {8, 8, 217, 41}, OutlineShape::Corners::Rounded, QColor::fromRgb(grey));
    c.shape2 = place<OutlineShape>(form, "Shape2", {8, 56, 217, 41}, OutlineShape::Corners::Rounded, QColor::fromRgb(grey));
    c.shape3 = place<OutlineShape>(form, "Shape3", {8, 104, 217, 73}, OutlineShape::Corners::Square, QColor::fromRgb(brown));

    c.command1 = place<StartButton>(form, "Command1", {24, 184, 185, 41});
    c.command1->setText(QString::fromUtf8(startCaption));
    c.command2 = place<QPushButton>(form, "Command2", {384, 16, 57, 25}, QStringLiteral("Помощь"));
    c.command3 = place<QPushButton>(form, "Command3", {448, 16, 81, 25}, QStringLiteral("О программе"));
    c.command4 = place<QPushButton>(form, "Command4", {480, 168, 49, 25}, QStringLiteral("Выход"));
    c.command7 = place<QPushButton>(form, "Command7", {168, 200, 121, 25}, QStringLiteral("Перейти к программе"));
    c.command7->hide();
    for (QPushButton* button : {static_cast<QPushButton*>(c.command1), c.command2, c.command3, c.command4, c.command7})
        button->setAutoDefault(false);

    c.text1 = place<QLineEdit>(form, "Text1", {176, 16, 41, 25});
    c.text2 = place<QLineEdit>(form, "Text2", {176, 64, 41, 25});
    c.text3 = place<QLineEdit>(form, "Text3", {232, 168, 241, 21});
    c.text1->setFont(boxFont());
    c.text2->setFont(boxFont());

    c.check2 = place<QCheckBox>(form, "Check2", {16, 112, 185, 20}, QStringLiteral("Мобильный размер 128 x 128"));
    c.check3 = place<QCheckBox>(form, "Check3", {16, 128, 193, 25}, QStringLiteral("Фон должен быть неподвижным"));
    c.check4 = place<QCheckBox>(form, "Check4", {16, 152, 201, 23}, QStringLiteral("Повторить предыдущий рисунок"));
    c.check4->setEnabled(false);
    c.check5 = place<QCheckBox>(form, "Check5", {240, 192, 193, 13}, QStringLiteral("В конце открыть для просмотра"));

    c.drive1 = place<QComboBox>(form, "Drive1", {232, 24, 145, 21});
    c.dir1 = place<QTreeView>(form, "Dir1", {232, 56, 145, 96});
    c.dir1->setHeaderHidden(true);
    useTextColour(c.dir1, QPalette::Text, navy);
    c.file1 = place<QListView>(form, "File1", {384, 56, 145, 97});
    useTextColour(c.file1, QPalette::Text, navy);

    c.picture1 = place<ProgressStrip>(form, "Picture1", {240, 208, 289, 17});
    c.picture2 = place<ProgressStrip>(form, "Picture2", {240, 232, 289, 17});

    c.label2 = label(form, "Label2", {24, 24, 153, 17}, QStringLiteral("Количество картинок"));
    c.label1 = label(form, "Label1", {64, 64, 57, 17}, QStringLiteral("Размер"));
    c.label2->setFont(boxFont());
    c.label1->setFont(boxFont());
    c.label3 = label(form, "Label3", {16, 80, 169, 17}, QStringLiteral("(ширина и высота в пикселях)"));
    c.label4 = label(form, "Label4", {256, 8, 121, 17}, QStringLiteral("Место сохранения :"));
    c.label5 = label(form, "Label5", {232, 152, 153, 17}, QStringLiteral("Путь и имя будущего файла :"));
    c.label7 = label(form, "Label7", {8, 232, 81, 17}, QString());
    c.label9 = label(form, "Label9", {88, 232, 145, 17}, QString());

    c.label10 = place<LinkLabel>(form, "Label10", {192, 136, 145, 25});
    c.label10->setText(QStringLiteral("Web :   ") + fromUtf8(webAddress));
    useTextColour(c.label10, QPalette::WindowText, darkRed);
    c.label15 = place<LinkLabel>(form, "Label15", {200, 160, 137, 17});
    c.label15->setText(QStringLiteral("E-mail :      ") + fromUtf8(mailAddress));
    useTextColour(c.label15, QPalette::WindowText, blue);
    for (QLabel* link : {static_cast<QLabel*>(c.label10), static_cast<QLabel*>(c.label15)}) {
        link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        link->hide();
    }

    c.timer1 = new QTimer(form);
    c.timer1->setObjectName(QStringLiteral("Timer1"));
    c.timer1->setInterval(blinkIntervalMs);
    c.timer3 = new QTimer(form);
    c.timer3->setObjectName(QStringLiteral("Timer3"));
    c.timer3->setInterval(musicStepIntervalMs);
    return c;
}

void arrangeFocusOrder(const Controls& c) {
    QWidget* const order[] = {c.command1, c.command2, c.command3, c.text2, c.text1, c.check2, c.check3,
                              c.drive1,   c.dir1,     c.file1,    c.check4, c.text3, c.command4, c.check5};
    for (size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    c.command1->setFocus();
}

}  // namespace pestrolik
