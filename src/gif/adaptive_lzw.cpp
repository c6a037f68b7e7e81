#include "gif/adaptive_lzw.h"

#include <algorithm>

namespace pestrolik {

namespace {

using CodeList = AdaptiveLzw::CodeList;

// The two codes after the indices.
uint32_t clearCode(int codeSize) { return 1u << codeSize; }
uint32_t endCode(int codeSize) { return clearCode(codeSize) + 1; }
constexpr uint32_t tableLimit = 4096;
constexpr int maxCodeWidth = 12;
constexpr size_t subBlockLength = 255;
// Pixels each way is tried over once the table is full: long enough to tell, short
// enough to follow the picture. A fresh table starts behind, so where it is ahead of the
// kept one at a checkpoint (or nearly: freshAllowance) it wins there, and the kept one's
// walk stops. (That took a tenth off the time of a moving frame, for 0.01 % in size.)
constexpr size_t trialPixels = 6144;
constexpr size_t trialCheckpoint = 256;  // 1024 walked 4 % more pixels, for the same sizes
// The fresh way wins where it is no more than this share behind: its table goes on
// growing after the stretch and the kept one's cannot. (3 % gave the smallest files of
// 0-12 %, and a fifth fewer kept-table walks.)
constexpr double freshAllowance = 0.03;

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
    void emitAll(const CodeList& codes) {
        for (size_t i = 0; i < codes.count; ++i) emit(codes.words[i] & 0xFFFF, static_cast<int>(codes.words[i] >> 16));
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
// Where a cell is not free, the walk does not branch on whether the string goes on:
// about half the cells end one, in no order a predictor could learn. Every cell writes
// a word, and only one that ends a string is counted; while the table has room, every
// cell stores an entry, which changes nothing where the string goes on.
template <bool grow>
StringStart runCodes(AdaptiveLzw::Table& table, std::span<const uint8_t> indices, StringStart start, size_t stop,
                     int freeIndex, CodeList& codes) {
    constexpr uint32_t colourBits = AdaptiveLzw::freeCell - 1;
    const uint32_t asFree = static_cast<uint32_t>(freeIndex);
    uint16_t* const next = table.next.data();
    uint32_t* const filled = table.filled.data();
    // In locals: the stores below could alias the table's members.
    uint32_t nextCode = table.nextCode;
    int codeWidth = table.codeWidth;
    uint32_t widthBits = withWidth(0, codeWidth);  // to be joined to each code
    const size_t count = indices.size();
    uint32_t prefix = start.first;
    uint32_t* out = nullptr;
    size_t n = codes.count;
    // Takes cell i; true when a string starts there. `room`: the table can take a code
    // and keep its width.
    const auto take = [&]<bool room>(size_t i) {
        const uint32_t cell = indices[i];
        const uint32_t index = cell & colourBits;
        const uint32_t code = next[entryOf(prefix, index)];
        uint32_t first = index;
        if (cell & AdaptiveLzw::freeCell) {
            const uint32_t freeCode = next[entryOf(prefix, asFree)];
            if (code != 0) {
                const bool further = freeCode != 0 && reachesFurther(next, indices, i + 1, freeCode, code, freeIndex);
                prefix = further ? freeCode : code;
                return false;
            }
            if (freeCode != 0) {
                prefix = freeCode;
                return false;
            }
            first = reachesFurther(next, indices, i + 1, asFree, index, freeIndex) ? asFree : index;
        }
        const bool ends = code == 0;
        out[n] = prefix | widthBits;
        n += ends;
        if constexpr (grow) {
            const uint32_t entry = entryOf(prefix, first);
            if (room) {
                // Where the string goes on, `entry` is the one just looked up: storing
                // its code back changes nothing.
                next[entry] = static_cast<uint16_t>(code | (nextCode & (0u - ends)));
                filled[nextCode] = entry;  // past the entries made until one is
                nextCode += ends;
            } else if (ends && nextCode < tableLimit) {
                next[entry] = static_cast<uint16_t>(nextCode);
                filled[nextCode] = entry;
                // The width grows as a decoder's does, one entry behind the encoder's table.
                if (nextCode == (1u << codeWidth) && codeWidth < maxCodeWidth) widthBits = withWidth(0, ++codeWidth);
                ++nextCode;
            }
        }
        prefix = ends ? first : code;
        return ends;
    };
    const auto finish = [&](StringStart next) {
        codes.count = n;
        table.nextCode = nextCode;
        table.codeWidth = codeWidth;
        return next;
    };

    size_t i = start.at + 1;
    const size_t end = std::min(stop, count);
    // Stretches where the walk cannot stop, before `stop`, and where (growing) the table
    // can take a code a cell without a wider code or filling up, which it can then do
    // only at the stretch's last cell.
    while (i < end) {
        const size_t codesAtWidth = grow ? (1u << codeWidth) - nextCode : end - i;
        if (codesAtWidth == 0) {  // the next code made is the first of the next width
            out = codes.roomFor(n - codes.count + 1);
            take.template operator()<false>(i++);
            continue;
        }
        const size_t stretch = std::min(end - i, codesAtWidth);
        out = codes.roomFor(n - codes.count + stretch);
        for (const size_t last = i + stretch; i < last; ++i) take.template operator()<true>(i);
        if (grow && nextCode == tableLimit) return finish({i - 1, prefix});
    }
    // On to the first string that starts from here, or the end.
    out = codes.roomFor(n - codes.count + 1);
    for (; i < count; ++i)
        if (take.template operator()<false>(i)) return finish({i, prefix});
    out[n++] = prefix | widthBits;
    // The decoder's table grows once more on the last code: the end code may be wider.
    if (grow && nextCode == (1u << codeWidth) && codeWidth < maxCodeWidth) ++codeWidth;
    return finish({count, 0});
}

// One way through a trial: its codes so far and the bits they take.
struct TrialWay {
    const CodeList& codes;
    size_t bits;  // of codes[0, counted), and of a clear code before them if the way needs one
    size_t counted = 0;

    double bitsPerPixel(size_t pixels) {
        for (; counted < codes.count; ++counted) bits += codes.words[counted] >> 16;
        return static_cast<double>(bits) / static_cast<double>(pixels);
    }
};

}  // namespace

uint32_t* AdaptiveLzw::CodeList::roomFor(size_t more) {
    if (words.size() < count + more) words.resize(std::max(count + more, 2 * words.size()));
    return words.data();
}

bool AdaptiveLzw::Table::full() const { return nextCode == tableLimit; }

void AdaptiveLzw::Table::clear() {
    if (next.empty()) {
        next.assign(size_t{tableLimit} << minimumCodeSize, 0);
        filled.assign(tableLimit, 0);
    }
    const uint32_t firstCode = endCode(codeSize) + 1;
    for (uint32_t code = firstSet; code < nextCode; ++code) next[filled[code]] = 0;
    nextCode = firstSet = firstCode;
    codeWidth = codeSize + 1;
}

void AdaptiveLzw::encode(std::span<const uint8_t> indices, std::vector<uint8_t>& out, int freeIndex,
                         int codeSize) {
    freeIndex_ = freeIndex;
    encodeAdapting(indices, codeSize);

    // Grown once, not doubled and copied many times over a large frame.
    const size_t needed = out.size() + codeLength_ + codeLength_ / subBlockLength + 3;
    if (out.capacity() < needed) out.reserve(std::max(needed, 2 * out.capacity()));
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

    CodeList& kept = trial_[0];
    CodeList& fresh = trial_[1];
    const size_t count = indices.size();
    StringStart at{0, indices[0] & (freeCell - 1u)};
    while (at.at < count) {
        kept.count = 0;
        if (!table->full()) {
            at = runCodes<true>(*table, indices, at, count, freeIndex_, kept);
            packer.emitAll(kept);
            continue;
        }
        // A full table: this stretch both ways, checkpoint by checkpoint, until the fresh
        // way is ahead or the stretch ends; the cheaper one written.
        fresh.count = 0;
        spare->clear();
        const size_t stop = at.at + trialPixels;
        StringStart freshEnd = at, keptEnd = at;
        TrialWay freshWay{fresh, static_cast<size_t>(table->codeWidth)}, keptWay{kept, 0};
        bool freshIsAhead = false;
        for (size_t checkpoint = at.at + trialCheckpoint;; checkpoint += trialCheckpoint) {
            freshEnd = runCodes<true>(*spare, indices, freshEnd, std::min(checkpoint, stop), freeIndex_, fresh);
            keptEnd = runCodes<false>(*table, indices, keptEnd, std::min(checkpoint, stop), freeIndex_, kept);
            freshIsAhead = freshWay.bitsPerPixel(freshEnd.at - at.at) <
                           keptWay.bitsPerPixel(keptEnd.at - at.at) * (1 + freshAllowance);
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
