#pragma once
// The blocks before a frame's image data, shared by the plain and the small frames:
// graphic control extension and image descriptor.

#include "gif/gif_format.h"

#include <bit>
#include <cstdint>
#include <span>
#include <vector>

namespace pestrolik {

// The part of the screen a frame covers, in pixels from the top left corner.
struct FrameBox {
    int left = 0, top = 0, width = 0, height = 0;
};

// Disposal methods of the graphic control block.
inline constexpr int keepPicture = 1;        // the next frame is drawn over this one
inline constexpr int restoreBackground = 2;  // this frame's box shows the background again
inline constexpr int noTransparency = -1;

inline void putWord(std::vector<uint8_t>& bytes, int value) {  // little-endian
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

// Appends the 18 bytes from the extension introducer to the image descriptor's flags,
// then the frame's own colour table if it has one (2, 4, ... or 128 entries).
inline void putFrameHead(std::vector<uint8_t>& out, const FrameBox& box, int disposal, int transparentIndex,
                         int delayCentiseconds, std::span<const Rgb> ownColours = {}) {
    out.push_back(0x21);  // extension introducer
    out.push_back(0xF9);  // graphic control label
    out.push_back(0x04);  // block size
    out.push_back(static_cast<uint8_t>(disposal << 2 | (transparentIndex >= 0 ? 1 : 0)));
    putWord(out, delayCentiseconds);
    out.push_back(static_cast<uint8_t>(transparentIndex >= 0 ? transparentIndex : 0));
    out.push_back(0x00);  // block terminator
    out.push_back(0x2C);  // image separator
    putWord(out, box.left);
    putWord(out, box.top);
    putWord(out, box.width);
    putWord(out, box.height);
    if (ownColours.empty()) {
        out.push_back(0x00);  // no local table, not interlaced
        return;
    }
    out.push_back(static_cast<uint8_t>(0x80 | (std::bit_width(ownColours.size()) - 2)));  // 2^(n+1) entries
    for (const Rgb& colour : ownColours) out.insert(out.end(), {colour.red, colour.green, colour.blue});
}

}  // namespace pestrolik
