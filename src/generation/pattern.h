#pragma once
// The nested, turning rose-curve rings drawn point by point over the background.

#include "generation/picture_params.h"
#include "gif/pixel_grid.h"

#include <cstdint>
#include <functional>

namespace pestrolik {

constexpr int stepsPerRadian = 1500;
constexpr int stepsPerRing = 9420;  // nearest whole number to 6.28 * stepsPerRadian

// Rings are numbered 0..ringCount(refSize).
int ringCount(double refSize);
// The colour index of ring k.
inline uint8_t ringColour(int k) { return static_cast<uint8_t>((3 * k) & 127); }

// Draws frame `frameNo` of the pattern over `grid`; `afterRing` (if given) runs after
// each ring.
void drawPattern(PixelGrid& grid, const PictureParams& params, int frameNo,
                 const std::function<void()>& afterRing = {});

}  // namespace pestrolik
