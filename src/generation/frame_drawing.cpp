#include "generation/frame_drawing.h"

#include "generation/background.h"
#include "generation/pattern.h"

#include <array>
#include <utility>

namespace pestrolik {

void drawFrame(PixelGrid& grid, const PictureParams& params, const FrameSpec& frame,
               const std::function<void()>& yield) {
    grid.resize(frame.pictureSize);
    const BackgroundInput background{frame.frameCount, frame.frameNo, params.backDepth, params.backWaves,
                                     frame.stillBackground};
    drawBackground(grid, background, yield);
    drawPattern(grid, params, frame.frameNo, yield);
}

IndexSet possibleIndices(const PictureParams& params, const FrameSpec& file) {
    IndexSet possible{};
    std::array<bool, 256> waveValues{}, amplitudes{};
    for (int frameNo = 1; frameNo <= file.frameCount; ++frameNo) {
        const BackgroundInput background{file.frameCount, frameNo, params.backDepth, params.backWaves,
                                         file.stillBackground};
        if (std::exchange(amplitudes[static_cast<uint8_t>(backAmplitude(background))], true)) continue;
        const std::vector<uint8_t> wave = backWave(file.pictureSize, background);
        for (size_t v = 1; v < wave.size(); ++v) waveValues[wave[v]] = true;
    }
    for (size_t a = 0; a < waveValues.size(); ++a)
        for (size_t b = 0; b < waveValues.size(); ++b)
            if (waveValues[a] && waveValues[b]) possible[(a & b) & 127] = true;
    for (int k = 0; k <= ringCount(params.refSize); ++k) possible[ringColour(k)] = true;
    return possible;
}

}  // namespace pestrolik
