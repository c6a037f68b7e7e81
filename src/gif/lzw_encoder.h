#pragma once
// GIF LZW for 7-bit colour indices: minimum code size 7, widths 8..12, one clear
// code at the start and none after it, so once the table holds 4096 codes it simply
// stops growing.

#include "gif/pixel_grid.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace pestrolik {

// Asked before each row 1..S, and once more with S + 1 before the final codes;
// answering false abandons the frame.
using RowGate = std::function<bool(int row)>;

class LzwEncoder {
public:
    static constexpr int minimumCodeSize = 7;
    static constexpr uint32_t clearCode = 128;
    static constexpr uint32_t endCode = 129;
    static constexpr uint32_t firstFreeCode = 130;
    static constexpr uint32_t tableLimit = 4096;

    LzwEncoder();

    // Appends one frame's image data to `out`: everything after the frame head's first
    // sub-block length byte, up to and including the block terminator. The grid holds
    // at least one cell, and cells lie in 0..127. Returns false, with `out` holding a
    // partial frame, when `gate` said stop.
    bool encode(const PixelGrid& grid, std::vector<uint8_t>& out, const RowGate& gate = {});

private:
    // next[prefixCode * 128 + index] is the code of prefix+index, 0 when absent.
    std::vector<uint16_t> next_;
};

}  // namespace pestrolik
