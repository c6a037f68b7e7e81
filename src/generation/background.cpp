#include "generation/background.h"

#include "generation/whole_part.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace pestrolik {

int backAmplitude(const BackgroundInput& input) {
    int amplitude = input.frameCount == 1 ? input.backDepth + 5 : std::abs(64 - input.frameNo);
    if (input.still) amplitude = input.backDepth + 5;
    return amplitude;
}

std::vector<uint8_t> backWave(int size, const BackgroundInput& input) {
    const double amplitude = backAmplitude(input);
    const double waves = input.backWaves + 1;
    std::vector<uint8_t> wave(static_cast<size_t>(size) + 1);
    for (int v = 1; v <= size; ++v) {
        const double position = static_cast<double>(v) / size * 6.28 * waves + 1.57;
        wave[v] = static_cast<uint8_t>(wholePart(amplitude * std::sin(position) + 64));
    }
    return wave;
}

void drawBackground(PixelGrid& grid, const BackgroundInput& input, const std::function<void()>& afterRow) {
    const int size = grid.size();
    // Rows and columns follow the same wave, so each value is worked out once per frame.
    const std::vector<uint8_t> wave = backWave(size, input);
    for (int y = 1; y <= size; ++y) {
        const uint8_t rowValue = wave[y];
        uint8_t* cell = grid.row(y);
        for (int x = 1; x <= size; ++x) cell[x - 1] = rowValue & wave[x];
        if (afterRow) afterRow();
    }
}

}  // namespace pestrolik
