#pragma once
// Decodes GIF bytes with giflib, the independent judge of what our writer produces.

#include "gif/pixel_grid.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pestrolik::testing {

struct DecodedGif {
    bool ok = false;
    std::string error;
    int width = 0, height = 0;
    int colourCount = 0;
    std::vector<uint8_t> palette;   // R, G, B per entry
    std::vector<PixelGrid> frames;
    std::vector<int> delays;        // hundredths of a second, per frame
    std::vector<int> controlBytes;  // packed field of each graphic control block
    std::vector<std::string> comments;
    bool loopsForever = false;
};

DecodedGif decodeGif(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readFileBytes(const std::string& path);

}  // namespace pestrolik::testing
