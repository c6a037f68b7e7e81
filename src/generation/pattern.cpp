#include "generation/pattern.h"

#include "generation/whole_part.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pestrolik {

int ringCount(double refSize) { return wholePart(3 * std::sqrt(refSize) / 1.7); }

void drawPattern(PixelGrid& grid, const PictureParams& params, int frameNo,
                 const std::function<void()>& afterRing) {
    const int size = grid.size();
    const double s = size;
    const double q = std::sqrt(params.refSize);
    const double f = frameNo;
    const int lobes = params.lobeDigit + 4;
    const int rings = ringCount(params.refSize);

    // What depends on j alone is the same for every ring: worked out once, with the
    // same operations in the same order, so every point lands where it always did.
    std::vector<double> turnOfStep(stepsPerRing + 1), swingOfStep(stepsPerRing + 1);
    for (int j = 1; j <= stepsPerRing; ++j) {
        turnOfStep[j] = static_cast<double>(j) / stepsPerRadian * (params.turnDigit + 1);
        swingOfStep[j] = std::sin(static_cast<double>(j) / stepsPerRadian * lobes);
    }
    const double framePhase = f / params.refSize * 3;
    const double growth = f / params.refSize * 10 + 1;
    const double spacing = params.spacingDigit / 10.0 + 0.5;
    const double twist = params.twistDigit / 10.0 + 0.5;

    for (int k = 0; k <= rings; ++k) {
        const double ringPhase = k / 4.0 * twist / (q / 2);
        const double radius = s / 2 - q * k / 4 / 1.5 * growth * spacing;
        const uint8_t colour = ringColour(k);
        for (int j = 1; j <= stepsPerRing; ++j) {
            const double a = turnOfStep[j] + ringPhase + framePhase;
            const double m = swingOfStep[j];
            const int x = wholePart(s / 2 + radius * std::sin(a) * m) + 1;
            const int y = wholePart(s / 2 + radius * std::cos(a) * m) + 1;
            grid.at(std::clamp(y, 1, size), std::clamp(x, 1, size)) = colour;
        }
        if (afterRing) afterRing();
    }
}

}  // namespace pestrolik
