#include "window/progress_strip.h"

#include <QPixmap>

#include <algorithm>
#include <array>

namespace pestrolik {

QImage progressImage(int step) {
    QImage image(progressImageSize, QImage::Format_RGB32);
    image.fill(progressBackground);
    const int lastColumn = progressImageSize.width() - 2;  // the outer column stays background
    for (int block = 0; block < step; ++block) {
        const int first = 1 + 9 * block;
        const int last = std::min(7 + 9 * block, lastColumn);
        for (int row = 1; row <= 11; ++row)
            for (int column = first; column <= last; ++column) image.setPixel(column, row, progressBlock);
    }
    return image;
}

namespace {

const QPixmap& stripPixmap(int step) {
    static const std::array<QPixmap, progressImageCount> pixmaps = [] {
        std::array<QPixmap, progressImageCount> made;
        for (int k = 0; k < progressImageCount; ++k) made[size_t(k)] = QPixmap::fromImage(progressImage(k));
        return made;
    }();
    return pixmaps[size_t(std::clamp(step, 0, progressImageCount - 1))];
}

}  // namespace

ProgressStrip::ProgressStrip(QWidget* parent) : QLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

void ProgressStrip::showStep(int step) {
    if (step == step_) return;
    step_ = step;
    setPixmap(stripPixmap(step));
}

}  // namespace pestrolik
