#include "gif/adaptive_lzw.h"

#include <algorithm>

namespace pestrolik {

namespace {

// The two codes after the indices.
uint32_t clearCode(int codeSize) { return 1u << codeSize; }
uint32_t endCode(int codeSize) { return clearCode(codeSize) + 1; }
constexpr uint32_t tableLimit = 4096;
constexpr int maxCodeWidth = 12;
constexpr size_t subBlockLength = 255;
// Pixels each way is tried over once the table is full: long enough to tell, short
// enough to follow the picture. A fresh table starts behind, so where it is ahead of the
// kept one at a checkpoint it wins there, and the kept one's walk stops. (That took a
// tenth off the time of a moving frame, for 0.01 % in size.)
constexpr size_t trialPixels = 6144;
constexpr size_t trialCheckpoint = 1024;

// A code and its width in one word, as the trials record them.
uint32_t withWidth(uint32_t code, int width) { return code | static_cast<uint32_t>(width) << 16; }

// Codes least significant bit first, into plain bytes at `bytes`, which has room for
// them; the sub-blocks are cut later.
struct CodePacker {
    uint8_t* bytes;
    size_t length = 0;       // whole bytes written
    uint64_t bitBuffer = 0;  // bits not yet in a whole byte, lowest first
    int bitCount = 0;        // bits held in bitBuffer

    void emit(uint32_t code, int codeWidth) {
        bitBuffer |= static_cast<uint64_t>(code) << bitCount;
        bitCount += codeWidth;
        if (bitCount >= 32) {
            for (int b = 0; b < 4; ++b) bytes[length++] = static_cast<uint8_t>(bitBuffer >> (8 * b));
            bitBuffer >>= 32;
            bitCount -= 32;
        }
    }
    void emitAll(const std::vector<uint32_t>& codes) {
        for (uint32_t c : codes) emit(c & 0xFFFF, static_cast<int>(c >> 16));
    }
    size_t flush() {
        for (; bitCount > 0; bitCount -= 8, bitBuffer >>= 8) bytes[length++] = static_cast<uint8_t>(bitBuffer);
        return length;
    }
};

// Where a string starts, and the index it starts with: a free cell's colour or the free
// index. The table's newest entry ends with that index, so the string must too.
struct StringStart {
    size_t at;
    uint32_t first;
};

// Where the code of the string `prefix` + `index` lies in a table. Laid out index by
// index, the codes made one after another, which a walk meets together, share cache
// lines; this was faster than prefix by prefix.
constexpr uint32_t entryOf(uint32_t prefix, uint32_t index) { return index << 12 | prefix; }

// Whether the strings in `next` carry the string `a` further than the string `b` over
// the cells from `from` on, looking at most reachWindow cells ahead. Both are walked
// side by side, and the walk ends where either stops. (Four cells chose as well as 64
// did, or a little better; two, worse.)
bool reachesFurther(const uint16_t* next, std::span<const uint8_t> indices, size_t from, uint32_t a, uint32_t b,
                    int freeIndex) {
    constexpr uint32_t colourBits = AdaptiveLzw::freeCell - 1;
    constexpr size_t reachWindow = 4;
    const auto step = [&](uint32_t prefix, uint32_t cell) -> uint32_t {
        const uint32_t code = next[entryOf(prefix, cell & colourBits)];
        if (code != 0 || !(cell & AdaptiveLzw::freeCell)) return code;
        return next[entryOf(prefix, static_cast<uint32_t>(freeIndex))];
    };
    const size_t end = std::min(indices.size(), from + reachWindow);
    for (size_t i = from; i < end; ++i) {
        const uint32_t cell = indices[i];
        a = step(a, cell);
        if (a == 0) return false;
        b = step(b, cell);
        if (b == 0) return true;
    }
    return false;
}

// Greedy LZW from `start` with `table`, growing it while it has room, until a string
// starts at or after `stop` or the pixels end; records the codes, returns where the
// next string starts. `grow` false keeps the table as it is. A free cell is written as
// its colour or as `freeIndex`: as whichever continues the string, or, where both do or
// it starts one, whichever the table carries further.
StringStart runCodes(AdaptiveLzw::Table& table, std::span<const uint8_t> indices, StringStart start, size_t stop,
                     bool grow, int freeIndex, std::vector<uint32_t>& codes) {
    constexpr uint32_t colourBits = AdaptiveLzw::freeCell - 1;
    const uint32_t asFree = static_cast<uint32_t>(freeIndex);
    uint16_t* const next = table.next.data();
    const size_t count = indices.size();
    uint32_t prefix = start.first;
    for (size_t i = start.at + 1; i < count; ++i) {
        const uint32_t cell = indices[i];
        const uint32_t index = cell & colourBits;
        const uint32_t code = next[entryOf(prefix, index)];
        const bool free = cell & AdaptiveLzw::freeCell;
        if (code != 0) {
            const uint32_t freeCode = free ? next[entryOf(prefix, asFree)] : 0;
            prefix = freeCode != 0 && reachesFurther(next, indices, i + 1, freeCode, code, freeIndex) ? freeCode : code;
            continue;
        }
        if (const uint32_t freeCode = free ? next[entryOf(prefix, asFree)] : 0) {
            prefix = freeCode;
            continue;
        }
        codes.push_back(withWidth(prefix, table.codeWidth));
        const uint32_t first = free && reachesFurther(next, indices, i + 1, asFree, index, freeIndex) ? asFree : index;
        if (grow && !table.full()) {
            const uint32_t entry = entryOf(prefix, first);
            next[entry] = static_cast<uint16_t>(table.nextCode);
            table.filled.push_back(entry);
            // The width grows as a decoder's does, one entry behind the encoder's table.
            if (table.nextCode == (1u << table.codeWidth) && table.codeWidth < maxCodeWidth) ++table.codeWidth;
            ++table.nextCode;
        }
        if (i >= stop || (grow && table.full())) return {i, first};
        prefix = first;
    }
    codes.push_back(withWidth(prefix, table.codeWidth));
    // The decoder's table grows once more on the last code: the end code may be wider.
    if (grow && table.nextCode == (1u << table.codeWidth) && table.codeWidth < maxCodeWidth) ++table.codeWidth;
    return {count, 0};
}

// One way through a trial: its codes so far and the bits they take.
struct TrialWay {
    std::vector<uint32_t>& codes;
    size_t bits;  // of codes[0, counted), and of a clear code before them if the way needs one
    size_t counted = 0;

    double bitsPerPixel(size_t pixels) {
        for (; counted < codes.size(); ++counted) bits += codes[counted] >> 16;
        return static_cast<double>(bits) / static_cast<double>(pixels);
    }
};

}  // namespace

bool AdaptiveLzw::Table::full() const { return nextCode == tableLimit; }

void AdaptiveLzw::Table::clear() {
    if (next.empty()) next.assign(static_cast<size_t>(tableLimit) << minimumCodeSize, 0);
    for (uint32_t entry : filled) next[entry] = 0;
    filled.clear();
    nextCode = endCode(codeSize) + 1;
    codeWidth = codeSize + 1;
}

void AdaptiveLzw::encode(std::span<const uint8_t> indices, std::vector<uint8_t>& out, int freeIndex,
                         int codeSize) {
    freeIndex_ = freeIndex;
    encodeAdapting(indices, codeSize);

    out.push_back(static_cast<uint8_t>(codeSize));
    for (size_t from = 0; from < codeLength_; from += subBlockLength) {
        const size_t length = std::min(subBlockLength, codeLength_ - from);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), codeBytes_.begin() + static_cast<std::ptrdiff_t>(from),
                   codeBytes_.begin() + static_cast<std::ptrdiff_t>(from + length));
    }
    out.push_back(0x00);  // block terminator
}

void AdaptiveLzw::encodeAdapting(std::span<const uint8_t> indices, int codeSize) {
    // A code covers at least one pixel and takes at most 12 bits; clear codes come
    // thousands of codes apart.
    codeBytes_.resize(std::max(codeBytes_.size(), 2 * indices.size() + 16));
    CodePacker packer{codeBytes_.data()};
    Table* table = &tables_[0];
    Table* spare = &tables_[1];
    table->codeSize = spare->codeSize = codeSize;
    table->clear();
    packer.emit(clearCode(codeSize), table->codeWidth);

    std::vector<uint32_t>& kept = trial_[0];
    std::vector<uint32_t>& fresh = trial_[1];
    const size_t count = indices.size();
    StringStart at{0, indices[0] & (freeCell - 1u)};
    while (at.at < count) {
        kept.clear();
        if (!table->full()) {
            at = runCodes(*table, indices, at, count, true, freeIndex_, kept);
            packer.emitAll(kept);
            continue;
        }
        // A full table: this stretch both ways, checkpoint by checkpoint, until the fresh
        // way is ahead or the stretch ends; the cheaper one written.
        fresh.clear();
        spare->clear();
        const size_t stop = at.at + trialPixels;
        StringStart freshEnd = at, keptEnd = at;
        TrialWay freshWay{fresh, static_cast<size_t>(table->codeWidth)}, keptWay{kept, 0};
        bool freshIsAhead = false;
        for (size_t checkpoint = at.at + trialCheckpoint;; checkpoint += trialCheckpoint) {
            freshEnd = runCodes(*spare, indices, freshEnd, std::min(checkpoint, stop), true, freeIndex_, fresh);
            keptEnd = runCodes(*table, indices, keptEnd, std::min(checkpoint, stop), false, freeIndex_, kept);
            freshIsAhead = freshWay.bitsPerPixel(freshEnd.at - at.at) < keptWay.bitsPerPixel(keptEnd.at - at.at);
            if (freshIsAhead || checkpoint >= stop || std::max(freshEnd.at, keptEnd.at) >= count || spare->full())
                break;
        }
        if (freshIsAhead) {
            packer.emit(clearCode(codeSize), table->codeWidth);
            packer.emitAll(fresh);
            std::swap(table, spare);
            at = freshEnd;
        } else {
            packer.emitAll(kept);
            at = keptEnd;
        }
    }
    packer.emit(endCode(codeSize), table->codeWidth);
    codeLength_ = packer.flush();
}

}  // namespace pestrolik
