#include "message_boxes.h"

#include <QMessageBox>

namespace pestrolik {

void QtMessageBoxes::show(MessageIcon icon, const QString& title, const QString& text) {
    const QMessageBox::Icon shown = icon == MessageIcon::Information   ? QMessageBox::Information
                                    : icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                                                       : QMessageBox::NoIcon;
    // A hidden owner (the window closing during a run) must not hide the box with it.
    QWidget* parent = owner_ && owner_->isVisible() ? owner_ : nullptr;
    QMessageBox box(shown, title, QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")),
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace pestrolik
