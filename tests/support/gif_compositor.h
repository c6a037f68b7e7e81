#pragma once
// What a viewer shows of a GIF, worked out from the GIF89a rules alone over giflib's
// decoding: each image drawn over what the screen holds, its transparent index leaving
// the screen as it was, then disposed of as its control block says (1 keep, 2 restore
// the background within its box, 3 restore what was there before it).

#include <cstdint>
#include <string>
#include <vector>

namespace pestrolik::testing {

// A screen pixel: 0xFFRRGGBB, or `background` where nothing was drawn or a disposal
// restored the background (a viewer may show it as the background colour or as nothing).
inline constexpr uint32_t background = 0;

struct ShownAnimation {
    bool ok = false;
    std::string error;
    int width = 0, height = 0;
    std::vector<std::vector<uint32_t>> frames;  // the screen after each image
    std::vector<int> delays;                    // hundredths of a second
    int loopCount = -1;                         // from the looping extension; -1: none
    std::vector<uint8_t> comments;              // every comment's bytes, in order
};

ShownAnimation showGif(const std::vector<uint8_t>& bytes);

}  // namespace pestrolik::testing
