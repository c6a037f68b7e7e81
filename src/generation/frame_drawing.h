#pragma once
// One whole picture: the background, then the rings over it.

#include "generation/picture_params.h"
#include "gif/gif_format.h"
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

// Every index drawFrame may put in any frame of `file` (whose frameNo is ignored) with
// its background as file.stillBackground says: the ANDs of the background waves' values
// and the rings' colours, whether or not a later ring covers one up.
IndexSet possibleIndices(const PictureParams& params, const FrameSpec& file);

}  // namespace pestrolik
