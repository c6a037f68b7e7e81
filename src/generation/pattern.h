#pragma once
// The nested, turning rose-curve rings drawn point by point over the background.

#include "generation/picture_params.h"
#include "gif/pixel_grid.h"

#include <functional>

namespace pestrolik {

constexpr int stepsPerRadian = 1500;
constexpr int stepsPerRing = 9420;  // nearest whole number to 6.28 * stepsPerRadian

// Rings are numbered 0..ringCount(refSize).
int ringCount(double refSize);

// Draws frame `frameNo` of the pattern over `grid`; `afterRing` (if given) runs after
// each ring.
void drawPattern(PixelGrid& grid, const PictureParams& params, int frameNo,
                 const std::function<void()>& afterRing = {});

}  // namespace pestrolik
