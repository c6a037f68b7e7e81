#include "window/window_place.h"

#include "window/window_settings.h"

#include <algorithm>
#include <cmath>

namespace pestrolik {

namespace {

constexpr int titleStripHeight = 20;
constexpr int grabWidth = 40;
constexpr int grabHeight = 10;

int pixels(float twips) {
    const double value = std::round(double(twips) / twipsPerPixel);
    return int(std::clamp(value, -1e6, 1e6));  // far beyond any screen, still a pixel
}

}  // namespace

QPoint pixelsFromTwips(float leftTwips, float topTwips) { return {pixels(leftTwips), pixels(topTwips)}; }

bool placeIsReachable(const QRect& frame, const QList<QRect>& screens) {
    const QRect titleStrip(frame.topLeft(), QSize(frame.width(), titleStripHeight));
    for (const QRect& screen : screens) {
        const QRect shared = titleStrip.intersected(screen);
        if (shared.width() >= grabWidth && shared.height() >= grabHeight) return true;
    }
    return false;
}

QPoint windowPlace(float leftTwips, float topTwips, QSize frameSize, const QList<QRect>& screens) {
    const QPoint stored = pixelsFromTwips(leftTwips, topTwips);
    if (placeIsReachable(QRect(stored, frameSize), screens)) return stored;
    const WindowSettings defaults;
    return pixelsFromTwips(defaults.leftTwips, defaults.topTwips);
}

}  // namespace pestrolik
