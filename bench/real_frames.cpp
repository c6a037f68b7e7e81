#include "real_frames.h"

#include "generation/frame_drawing.h"

namespace pestrolik::bench {

PictureParams realParams(int size) {
    PictureParams params;
    params.twistDigit = 4, params.lobeDigit = 3, params.spacingDigit = 6, params.turnDigit = 2;
    params.redExponent = 1, params.greenExponent = 2, params.blueExponent = 0;
    params.backDepth = 30, params.backWaves = 1, params.refSize = size;
    return params;
}

std::vector<PixelGrid> realFrames(int count, int size) {
    const PictureParams params = realParams(size);
    std::vector<PixelGrid> frames(static_cast<size_t>(count));
    for (int f = 1; f <= count; ++f) drawFrame(frames[f - 1], params, {size, 100, f * (100 / count), false});
    return frames;
}

}  // namespace pestrolik::bench
