#include "window/mobile_size.h"

#include "window/number_text.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>

namespace pestrolik {

MobileSize::MobileSize(QCheckBox* check2, QLineEdit* text2, QObject* parent)
    : QObject(parent), check2_(check2), text2_(text2) {
    // toggled, not clicked: setting the box from the settings must act as a click does.
    connect(check2_, &QCheckBox::toggled, this, &MobileSize::onToggled);
    text2_->installEventFilter(this);
}

void MobileSize::takeSizeFromText() { savedSize_ = numberAtStart(text2_->text()).value_or(savedSize_); }

void MobileSize::onToggled(bool ticked) {
    if (ticked) {
        takeSizeFromText();
        text2_->setText(QString::fromLatin1(mobileSizeText));
    } else {
        text2_->setText(shortestDecimal(savedSize_));
    }
}

bool MobileSize::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text2_ && event->type() == QEvent::FocusOut && check2_->isChecked())
        text2_->setText(QString::fromLatin1(mobileSizeText));
    return QObject::eventFilter(watched, event);
}

}  // namespace pestrolik
