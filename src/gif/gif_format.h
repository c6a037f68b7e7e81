#pragma once
// The fixed numbers of our GIF files that do not depend on the pixels.

#include <array>
#include <cstdint>
#include <span>

namespace pestrolik {

struct Rgb {
    uint8_t red, green, blue;
    bool operator==(const Rgb&) const = default;
};

using ColourTable = std::array<Rgb, 128>;

// The 128 colours from the three exponents (each 0..3).
ColourTable colourTable(int redExponent, int greenExponent, int blueExponent);

// Delay between frames, in hundredths of a second, for `frameCount` 1..100.
int frameDelayCentiseconds(int frameCount);

// The whole comment extension block, identical in every file (186 bytes).
std::span<const uint8_t> commentBlock();

}  // namespace pestrolik
