#include "window/start_button.h"

#include <QEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>
#include <QTextOption>
#include <QToolTip>

namespace pestrolik {

QColor toolTipColour() { return QToolTip::palette().color(QPalette::Inactive, QPalette::ToolTipBase); }

StartButton::StartButton(QWidget* parent) : QPushButton(parent) { applyBackground(); }

void StartButton::showToolTipColour() {
    followsToolTip_ = true;
    applyBackground();
}

void StartButton::showColour(QColor colour) {
    followsToolTip_ = false;
    colour_ = colour;
    applyBackground();
}

QColor StartButton::background() const { return followsToolTip_ ? toolTipColour() : colour_; }

void StartButton::blink() {
    if (followsToolTip_)
        showColour(QColor::fromRgb(blinkColour));
    else
        showToolTipColour();
}

void StartButton::applyBackground() {
    QPalette shown = palette();
    shown.setColor(QPalette::Button, background());
    setPalette(shown);  // repaints
}

void StartButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    // setPalette above raises PaletteChange too; only a new system palette needs work.
    if (event->type() == QEvent::ApplicationPaletteChange && followsToolTip_) applyBackground();
}

void StartButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    // Styles shade a button's face; this one shows its colour as it is.
    const QColor face = background();
    painter.fillRect(rect().adjusted(2, 2, -2, -2), isDown() ? face.darker(115) : face);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(4, 4, -4, -4);
        focus.backgroundColor = face;
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }

    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown()) area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                                 style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    drawCaption(painter, area);
}

void StartButton::drawCaption(QPainter& painter, const QRect& area) const {
    // Each line is centred with its spaces counted, trailing ones too, so the spaces
    // around "СТАРТ" keep it in the middle and push the rest onto the next line.
    QTextLayout layout(text(), font());
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WordWrap);
    wrapping.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(wrapping);
    const QFontMetricsF metrics(font());
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        height += line.height();
    }
    layout.endLayout();
    qreal y = area.top() + (area.height() - height) / 2;
    for (int i = 0; i < layout.lineCount(); ++i) {
        QTextLine line = layout.lineAt(i);
        const qreal width = metrics.horizontalAdvance(text().mid(line.textStart(), line.textLength()));
        line.setPosition(QPointF(area.left() + (area.width() - width) / 2, y));
        y += line.height();
    }
    layout.draw(&painter, QPointF());
}

}  // namespace pestrolik
