#pragma once
// One whole picture: the background, then the rings over it.

#include "generation/picture_params.h"
#include "gif/pixel_grid.h"

#include <functional>

namespace pestrolik {

struct FrameSpec {
    int pictureSize = 0;
    int frameCount = 1;
    int frameNo = 1;
    bool stillBackground = false;
};

// Clears `grid` to the frame's size and draws it; `yield` (if given) runs after every
// background row and every ring.
void drawFrame(PixelGrid& grid, const PictureParams& params, const FrameSpec& frame,
               const std::function<void()>& yield = {});

}  // namespace pestrolik
