#include "window/outline_shape.h"

#include <QPainter>

namespace pestrolik {

OutlineShape::OutlineShape(Corners corners, QColor colour, QWidget* parent)
    : QWidget(parent), corners_(corners), colour_(colour) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void OutlineShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(colour_, 1));
    const QRectF outline = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (corners_ == Corners::Rounded) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawRoundedRect(outline, 8, 8);
    } else {
        painter.drawRect(outline);
    }
}

}  // namespace pestrolik
