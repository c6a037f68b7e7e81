#include "window/about_screen.h"

#include "window/controls.h"
#include "window/link_label.h"
#include "window/outline_shape.h"
#include "window/progress_strip.h"
#include "window/start_button.h"
#include "window/window_music.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QTreeView>
#include <QWidget>

namespace pestrolik {

namespace {

const QString aboutCaption = QString::fromUtf8(windowCaption) + QStringLiteral(" - О программе");
constexpr QRect exitOnAboutScreen{304, 200, 49, 25};  // in line with Command7
constexpr QRect exitOnMainScreen{480, 168, 49, 25};

}  // namespace

AboutScreen::AboutScreen(QWidget& form, const Controls& controls, WindowMusic& music,
                         std::function<bool()> runActive)
    : form_(form), c_(controls), music_(music), runActive_(std::move(runActive)) {}

QStringList AboutScreen::lines() {
    return {
        QString(),
        QString(),
        QString(20, u' ') + QString::fromUtf8(windowCaption) + u'.' + QString(6, u' ') +
            QStringLiteral("Все права принадлежат разработчикам."),
        QString(12, u' ') + QStringLiteral("Разработка: команда проекта «Пестролик»"),
        QString(74, u' ') + QStringLiteral("Омск, 2008 г."),
        QString(),
    };
}

void AboutScreen::open() {
    form_.setWindowTitle(aboutCaption);
    shown_ = true;
    music_.BuildSong();
    music_.StartMusic();  // the first step sounds one interval from now
    form_.update();
    showControls(true);
    c_.command4->setText(QStringLiteral("Отмена"));
    c_.command4->setGeometry(exitOnAboutScreen);
}

void AboutScreen::close() {
    form_.setWindowTitle(QString::fromUtf8(windowCaption));
    shown_ = false;
    form_.update();
    music_.StopMusic();
    showControls(false);
    c_.command4->setText(QStringLiteral("Выход"));
    c_.command4->setGeometry(exitOnMainScreen);
}

void AboutScreen::runEnded() {
    if (shown_) c_.picture2->hide();
}

void AboutScreen::showControls(bool aboutMode) {
    const bool main = !aboutMode;
    for (QWidget* w : std::initializer_list<QWidget*>{
             c_.shape1, c_.shape2, c_.shape3, c_.text1, c_.label3, c_.label2, c_.label1, c_.text2, c_.text3,
             c_.label4, c_.label5})
        w->setVisible(main);
    c_.label10->setVisible(aboutMode);
    c_.label15->setVisible(aboutMode);
    for (QWidget* w : std::initializer_list<QWidget*>{c_.check2, c_.check3, c_.check4, c_.check5, c_.command1,
                                                      c_.command2, c_.command3})
        w->setVisible(main);
    c_.command7->setVisible(aboutMode);
    for (QWidget* w : std::initializer_list<QWidget*>{c_.drive1, c_.dir1, c_.file1, c_.picture1})
        w->setVisible(main);
    // A run keeps showing how far the whole file has come.
    if (main || !runActive_()) c_.picture2->setVisible(main);
}

void AboutScreen::paint(QPainter& painter) const {
    if (!shown_) return;
    painter.setFont(form_.font());
    painter.setPen(form_.palette().color(QPalette::WindowText));
    const QFontMetrics metrics(form_.font());
    int baseline = metrics.ascent();
    for (const QString& line : lines()) {
        painter.drawText(0, baseline, line);
        baseline += metrics.height();
    }
}

}  // namespace pestrolik
