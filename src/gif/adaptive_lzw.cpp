#include "gif/adaptive_lzw.h"

#include <algorithm>

namespace pestrolik {

namespace {

constexpr uint32_t clearCode = 1u << AdaptiveLzw::minimumCodeSize;
constexpr uint32_t endCode = clearCode + 1;
constexpr uint32_t firstFreeCode = clearCode + 2;
constexpr uint32_t tableLimit = 4096;
constexpr int maxCodeWidth = 12;
constexpr size_t subBlockLength = 255;

// Codes least significant bit first, into plain bytes; the sub-blocks are cut later.
struct CodePacker {
    std::vector<uint8_t>& out;
    uint64_t bitBuffer = 0;  // bits not yet in a whole byte, lowest first
    int bitCount = 0;        // bits held in bitBuffer

    void emit(uint32_t code, int codeWidth) {
        bitBuffer |= static_cast<uint64_t>(code) << bitCount;
        bitCount += codeWidth;
        while (bitCount >= 8) {
            out.push_back(static_cast<uint8_t>(bitBuffer));
            bitBuffer >>= 8;
            bitCount -= 8;
        }
    }
    void flush() {
        if (bitCount > 0) out.push_back(static_cast<uint8_t>(bitBuffer));
    }
};

}  // namespace

AdaptiveLzw::AdaptiveLzw() : next_(static_cast<size_t>(tableLimit) << minimumCodeSize) { filled_.reserve(tableLimit); }

void AdaptiveLzw::encode(std::span<const uint8_t> indices, std::vector<uint8_t>& out) {
    codeBytes_.clear();
    CodePacker packer{codeBytes_};
    int codeWidth = minimumCodeSize + 1;
    uint32_t nextCode = firstFreeCode;
    auto freshTable = [&] {
        for (uint32_t entry : filled_) next_[entry] = 0;
        filled_.clear();
        codeWidth = minimumCodeSize + 1;
        nextCode = firstFreeCode;
    };
    freshTable();
    packer.emit(clearCode, codeWidth);

    uint16_t* const next = next_.data();
    uint32_t prefix = indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const uint32_t index = indices[i];
        const uint32_t entry = (prefix << minimumCodeSize) | index;
        if (next[entry] != 0) {
            prefix = next[entry];
            continue;
        }
        packer.emit(prefix, codeWidth);
        next[entry] = static_cast<uint16_t>(nextCode);
        filled_.push_back(entry);
        // The width grows as a decoder's does, one entry behind the encoder's table.
        if (nextCode == (1u << codeWidth) && codeWidth < maxCodeWidth) ++codeWidth;
        if (++nextCode == tableLimit) {
            packer.emit(clearCode, codeWidth);
            freshTable();
        }
        prefix = index;
    }
    packer.emit(prefix, codeWidth);
    // The decoder's table grows once more on the last code: the end code may be wider.
    if (nextCode == (1u << codeWidth) && codeWidth < maxCodeWidth) ++codeWidth;
    packer.emit(endCode, codeWidth);
    packer.flush();

    out.push_back(minimumCodeSize);
    for (size_t at = 0; at < codeBytes_.size(); at += subBlockLength) {
        const size_t length = std::min(subBlockLength, codeBytes_.size() - at);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), codeBytes_.begin() + static_cast<std::ptrdiff_t>(at),
                   codeBytes_.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    out.push_back(0x00);  // block terminator
}

}  // namespace pestrolik
