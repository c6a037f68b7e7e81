#pragma once
// The banded lattice under the rings: a cosine down the rows AND a cosine across
// the columns, pulsing in contrast from frame to frame unless held still.

#include "gif/pixel_grid.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace pestrolik {

// Always given whole, so no field has a default.
struct BackgroundInput {
    int frameCount;  // pictures in the file, 1..100
    int frameNo;     // 1..frameCount
    int backDepth;   // 0..58
    int backWaves;   // 0..2
    bool still;      // the still-background box, as it is when the frame starts
};

// 0..63, the wave amplitude of this frame.
int backAmplitude(const BackgroundInput& input);

// The frame's wave across `size` cells: entry v (1..size) belongs to row v and to column
// v, and a cell holds its row's AND its column's. Entry 0 is unused.
std::vector<uint8_t> backWave(int size, const BackgroundInput& input);

// Fills every cell of `grid`; `afterRow` (if given) runs after each row.
void drawBackground(PixelGrid& grid, const BackgroundInput& input,
                    const std::function<void()>& afterRow = {});

}  // namespace pestrolik
