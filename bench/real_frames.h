#pragma once
// Frames as the program draws them, for benchmarks that need real pictures.

#include "generation/picture_params.h"
#include "gif/pixel_grid.h"

#include <vector>

namespace pestrolik::bench {

// The fixed parameters of a picture of `size`.
PictureParams realParams(int size);

// `count` frames of one 1000 x 1000 (or `size`) animation, fixed parameters.
std::vector<PixelGrid> realFrames(int count, int size = 1000);

}  // namespace pestrolik::bench
