#include "gif/lzw_encoder.h"

#include "gif/bit_packer.h"

#include <algorithm>

namespace pestrolik {

namespace {
constexpr int indexBits = LzwEncoder::minimumCodeSize;  // a colour index takes 7 bits
constexpr uint32_t indexCount = 1u << indexBits;

// The table step after every data code, less the entry itself: the width grows at the
// moments a decoder expects it, and the count goes on past 4095 (only the table stops).
void advance(uint32_t& nextCode, int& codeWidth) {
    if (nextCode == 256 || nextCode == 512 || nextCode == 1024 || nextCode == 2048) ++codeWidth;
    ++nextCode;
}
}  // namespace

LzwEncoder::LzwEncoder() : next_(static_cast<size_t>(tableLimit) * indexCount) {}

bool LzwEncoder::encode(const PixelGrid& grid, std::vector<uint8_t>& out, const RowGate& gate) {
    std::fill(next_.begin(), next_.end(), uint16_t{0});
    uint16_t* const next = next_.data();

    BitPacker packer(out);
    int codeWidth = minimumCodeSize + 1;
    uint32_t nextCode = firstFreeCode;
    packer.emit(clearCode, codeWidth);

    const int size = grid.size();
    uint32_t prefix = grid.at(1, 1);  // the first cell starts the first string
    for (int row = 1; row <= size; ++row) {
        if (gate && !gate(row)) return false;
        const uint8_t* cell = grid.row(row) + (row == 1 ? 1 : 0);
        const uint8_t* const end = grid.row(row) + size;
        for (; cell != end; ++cell) {
            const uint32_t index = *cell;
            const uint32_t entryIndex = (prefix << indexBits) | index;
            const uint32_t found = next[entryIndex];
            if (found != 0) {
                prefix = found;
                continue;
            }
            packer.emit(prefix, codeWidth);
            if (nextCode < tableLimit) next[entryIndex] = static_cast<uint16_t>(nextCode);
            advance(nextCode, codeWidth);
            prefix = index;
        }
    }
    if (gate && !gate(size + 1)) return false;

    packer.emit(prefix, codeWidth);
    advance(nextCode, codeWidth);  // the final step's entry would never be looked up
    packer.emit(endCode, codeWidth);
    packer.finish();
    return true;
}

}  // namespace pestrolik
