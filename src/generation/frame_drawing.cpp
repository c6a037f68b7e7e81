#include "generation/frame_drawing.h"

#include "generation/background.h"
#include "generation/pattern.h"

namespace pestrolik {

void drawFrame(PixelGrid& grid, const PictureParams& params, const FrameSpec& frame,
               const std::function<void()>& yield) {
    grid.resize(frame.pictureSize);
    const BackgroundInput background{frame.frameCount, frame.frameNo, params.backDepth, params.backWaves,
                                     frame.stillBackground};
    drawBackground(grid, background, yield);
    drawPattern(grid, params, frame.frameNo, yield);
}

}  // namespace pestrolik
