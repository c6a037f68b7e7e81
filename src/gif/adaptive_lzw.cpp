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
// Pixels each way is tried over once the table is full: long enough to tell, short
// enough to follow the picture.
constexpr size_t trialPixels = 6144;

// A code and its width in one word, as the trials record them.
uint32_t withWidth(uint32_t code, int width) { return code | static_cast<uint32_t>(width) << 16; }

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
    void emitAll(const std::vector<uint32_t>& codes) {
        for (uint32_t c : codes) emit(c & 0xFFFF, static_cast<int>(c >> 16));
    }
    void flush() {
        if (bitCount > 0) out.push_back(static_cast<uint8_t>(bitBuffer));
    }
};

// Greedy LZW from `start` with `table`, growing it while it has room, until a string
// starts at or after `stop` or the pixels end; records the codes, returns where the
// next string starts. `grow` false keeps the table as it is. A free cell continues a
// string as its colour if the table has that, else as `freeIndex`; a string starts with
// its colour.
size_t runCodes(AdaptiveLzw::Table& table, std::span<const uint8_t> indices, size_t start, size_t stop,
                bool grow, int freeIndex, std::vector<uint32_t>& codes) {
    constexpr uint32_t colourBits = AdaptiveLzw::freeCell - 1;
    uint16_t* const next = table.next.data();
    const size_t count = indices.size();
    uint32_t prefix = indices[start] & colourBits;
    for (size_t i = start + 1; i < count; ++i) {
        const uint32_t cell = indices[i];
        const uint32_t index = cell & colourBits;
        const uint32_t entry = (prefix << AdaptiveLzw::minimumCodeSize) | index;
        if (next[entry] != 0) {
            prefix = next[entry];
            continue;
        }
        if (cell & AdaptiveLzw::freeCell) {
            const uint32_t asFree = (prefix << AdaptiveLzw::minimumCodeSize) | static_cast<uint32_t>(freeIndex);
            if (next[asFree] != 0) {
                prefix = next[asFree];
                continue;
            }
        }
        codes.push_back(withWidth(prefix, table.codeWidth));
        if (grow && !table.full()) {
            next[entry] = static_cast<uint16_t>(table.nextCode);
            table.filled.push_back(entry);
            // The width grows as a decoder's does, one entry behind the encoder's table.
            if (table.nextCode == (1u << table.codeWidth) && table.codeWidth < maxCodeWidth) ++table.codeWidth;
            ++table.nextCode;
        }
        if (i >= stop || (grow && table.full())) return i;
        prefix = index;
    }
    codes.push_back(withWidth(prefix, table.codeWidth));
    // The decoder's table grows once more on the last code: the end code may be wider.
    if (grow && table.nextCode == (1u << table.codeWidth) && table.codeWidth < maxCodeWidth) ++table.codeWidth;
    return count;
}

double bitsPerPixel(const std::vector<uint32_t>& codes, size_t pixels, int extraBits) {
    size_t bits = static_cast<size_t>(extraBits);
    for (uint32_t c : codes) bits += c >> 16;
    return static_cast<double>(bits) / static_cast<double>(pixels);
}

}  // namespace

bool AdaptiveLzw::Table::full() const { return nextCode == tableLimit; }

void AdaptiveLzw::Table::clear() {
    if (next.empty()) next.assign(static_cast<size_t>(tableLimit) << minimumCodeSize, 0);
    for (uint32_t entry : filled) next[entry] = 0;
    filled.clear();
    nextCode = firstFreeCode;
    codeWidth = minimumCodeSize + 1;
}

void AdaptiveLzw::encode(std::span<const uint8_t> indices, std::vector<uint8_t>& out, int freeIndex) {
    freeIndex_ = freeIndex;
    encodeAdapting(indices);

    out.push_back(minimumCodeSize);
    for (size_t from = 0; from < codeBytes_.size(); from += subBlockLength) {
        const size_t length = std::min(subBlockLength, codeBytes_.size() - from);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), codeBytes_.begin() + static_cast<std::ptrdiff_t>(from),
                   codeBytes_.begin() + static_cast<std::ptrdiff_t>(from + length));
    }
    out.push_back(0x00);  // block terminator
}

void AdaptiveLzw::encodeAdapting(std::span<const uint8_t> indices) {
    codeBytes_.clear();
    CodePacker packer{codeBytes_};
    Table* table = &tables_[0];
    Table* spare = &tables_[1];
    table->clear();
    packer.emit(clearCode, table->codeWidth);

    std::vector<uint32_t>& kept = trial_[0];
    std::vector<uint32_t>& fresh = trial_[1];
    const size_t count = indices.size();
    size_t at = 0;
    while (at < count) {
        kept.clear();
        if (!table->full()) {
            at = runCodes(*table, indices, at, count, true, freeIndex_, kept);
            packer.emitAll(kept);
            continue;
        }
        // A full table: this stretch both ways, the cheaper one written.
        fresh.clear();
        spare->clear();
        const size_t freshEnd = runCodes(*spare, indices, at, at + trialPixels, true, freeIndex_, fresh);
        const size_t keptEnd = runCodes(*table, indices, at, at + trialPixels, false, freeIndex_, kept);
        if (bitsPerPixel(fresh, freshEnd - at, table->codeWidth) < bitsPerPixel(kept, keptEnd - at, 0)) {
            packer.emit(clearCode, table->codeWidth);
            packer.emitAll(fresh);
            std::swap(table, spare);
            at = freshEnd;
        } else {
            packer.emitAll(kept);
            at = keptEnd;
        }
    }
    packer.emit(endCode, table->codeWidth);
    packer.flush();
}

}  // namespace pestrolik
