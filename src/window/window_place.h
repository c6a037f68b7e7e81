#pragma once
// The window's position: stored in twips (15 to a pixel), placed in pixels, and
// kept where the user can reach it. Twips (1/1440 inch) are the unit the stored
// settings have always used; a settings file from any version still reads right.

#include <QList>
#include <QPoint>
#include <QRect>

namespace pestrolik {

inline constexpr float twipsPerPixel = 15;

QPoint pixelsFromTwips(float leftTwips, float topTwips);

// True when the window's title strip shares enough of some screen to be grabbed.
bool placeIsReachable(const QRect& frame, const QList<QRect>& screens);

// Where a window of `frameSize` goes: the stored place, or the default place when
// the stored one lies on no screen.
QPoint windowPlace(float leftTwips, float topTwips, QSize frameSize, const QList<QRect>& screens);

}  // namespace pestrolik
