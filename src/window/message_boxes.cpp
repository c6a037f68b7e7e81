#include "window/message_boxes.h"

#include "messages/run_messages.h"
#include "window/utf8_text.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace pestrolik {

namespace {

// A box like the platform's message box, except that its lines are never wrapped:
// the texts break their own lines, and a box that wraps lines wider than half the
// screen again blurs where they end.
class MessageDialog : public QDialog {
public:
    MessageDialog(MessageIcon icon, const QString& title, const QString& text, QWidget* parent)
        : QDialog(parent) {
        setWindowTitle(title);
        auto* layout = new QGridLayout(this);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        layout->setHorizontalSpacing(16);
        if (icon != MessageIcon::None) {
            const QStyle::StandardPixmap which =
                icon == MessageIcon::Information ? QStyle::SP_MessageBoxInformation : QStyle::SP_MessageBoxWarning;
            const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
            auto* picture = new QLabel(this);
            picture->setPixmap(style()->standardIcon(which, nullptr, this).pixmap(side, side));
            layout->addWidget(picture, 0, 0, Qt::AlignTop);
        }
        auto* words = new QLabel(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")), this);
        words->setTextFormat(Qt::PlainText);
        words->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(words, 0, 1);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        layout->addWidget(buttons, 1, 0, 1, 2);
        buttons->button(QDialogButtonBox::Ok)->setDefault(true);
        buttons->button(QDialogButtonBox::Ok)->setFocus();
    }
};

}  // namespace

void showRunMessage(MessageBoxes& boxes, MessageIcon icon, const RunMessage& message) {
    boxes.show(icon, fromUtf8(message.title), fromUtf8(joinLines(message.lines, "\r\n")));
}

void QtMessageBoxes::show(MessageIcon icon, const QString& title, const QString& text) {
    // A hidden owner (the window closing during a run) must not hide the box with it.
    QWidget* parent = owner_ && owner_->isVisible() ? owner_ : nullptr;
    MessageDialog box(icon, title, text, parent);
    box.exec();  // modal for the whole program, owner or not
}

}  // namespace pestrolik
