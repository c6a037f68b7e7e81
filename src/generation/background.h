#pragma once
// The banded lattice under the rings: a cosine down the rows AND a cosine across
// the columns, pulsing in contrast from frame to frame unless held still.

#include "gif/pixel_grid.h"

#include <functional>

namespace pestrolik {

struct BackgroundInput {
    int frameCount = 1;   // pictures in the file, 1..100
    int frameNo = 1;      // 1..frameCount
    int backDepth = 0;    // 0..58
    int backWaves = 0;    // 0..2
    bool still = false;   // the still-background box, as it is when the frame starts
};

// 0..63, the wave amplitude of this frame.
int backAmplitude(const BackgroundInput& input);

// Fills every cell of `grid`; `afterRow` (if given) runs after each row.
void drawBackground(PixelGrid& grid, const BackgroundInput& input,
                    const std::function<void()>& afterRow = {});

}  // namespace pestrolik
