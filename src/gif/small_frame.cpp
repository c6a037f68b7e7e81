#include "gif/small_frame.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <span>

namespace pestrolik {

namespace {

using Box = FrameBox;
using ColourSet = SmallFrameEncoder::ColourSet;

// Where `grid` differs from `previous`, row by row, asking `gate` before each row.
// Nothing (width 0) when no cell differs.
bool changedBox(const PixelGrid& previous, const PixelGrid& grid, const RowGate& gate, Box& box) {
    const int size = grid.size();
    int top = size, bottom = -1, left = size, right = -1;
    for (int row = 1; row <= size; ++row) {
        if (gate && !gate(row)) return false;
        const uint8_t* before = previous.row(row);
        const uint8_t* now = grid.row(row);
        int first = 0;
        while (first < size && before[first] == now[first]) ++first;
        if (first == size) continue;
        int last = size - 1;
        while (before[last] == now[last]) --last;
        top = std::min(top, row - 1), bottom = row - 1;
        left = std::min(left, first), right = std::max(right, last);
    }
    box = bottom < 0 ? Box{} : Box{left, top, right - left + 1, bottom - top + 1};
    return true;
}

// What the box holds besides its cells: whether any is unchanged, and the lowest index
// of the file's table no changed cell uses (-1 when they use all).
struct BoxContent {
    bool anyUnchanged = false;
    int spareIndex = -1;
    ColourSet colours{};  // every colour in the box, changed or not
};

// The box's cells; unchanged ones marked free, to be shown by the transparent index or
// their own colour alike.
BoxContent copyBox(const PixelGrid& previous, const PixelGrid& grid, const Box& box, const SmallFrameLook& look,
                   std::vector<uint8_t>& cells) {
    const StandIns& standIn = look.standIns;
    const int width = box.width;  // in locals: the stores below could alias members
    cells.resize(static_cast<size_t>(width) * box.height);
    // Which cells were seen, as copied: changed ones' colours in the first half, unchanged
    // ones' in the second. A plain store a cell; no cell waits on what one before it stored.
    std::array<uint8_t, 256> seen{};
    // Most pictures have no two indices of one colour: then the row is copied without
    // looking the stand-ins up, many cells an instruction.
    const bool eachItsOwn = standIn == eachIndexItsOwn();
    for (int r = 0; r < box.height; ++r) {
        const uint8_t* now = grid.row(box.top + r + 1) + box.left;
        const uint8_t* before = previous.row(box.top + r + 1) + box.left;
        uint8_t* cell = cells.data() + static_cast<size_t>(r) * width;
        // No branch on a cell: a third of them or more are unchanged, in no order a
        // predictor could learn.
        const auto mark = [](uint8_t shown, uint8_t was) {
            return static_cast<uint8_t>(shown | (shown == was ? AdaptiveLzw::freeCell : 0));
        };
        if (eachItsOwn)
            for (int c = 0; c < width; ++c) cell[c] = mark(now[c], before[c]);
        else
            for (int c = 0; c < width; ++c) cell[c] = mark(standIn[now[c]], standIn[before[c]]);
        for (int c = 0; c < width; ++c) seen[cell[c]] = 1;
    }
    const auto used = std::span(seen).first(size_t{1} << look.colourBits);  // by changed cells
    BoxContent content;
    content.anyUnchanged = std::find(seen.begin() + 128, seen.end(), 1) != seen.end();
    for (size_t i = 0; i < 128; ++i) content.colours[i] = seen[i] | seen[128 + i];
    const auto spare = std::find(used.begin(), used.end(), 0);
    content.spareIndex = spare == used.end() ? -1 : static_cast<int>(spare - used.begin());
    return content;
}

// The 64 flags (each 0 or 1) from `flags` on, the first in the lowest bit. Reads 64
// bytes.
uint64_t bitsOf(const uint8_t* flags) {
    uint64_t bits = 0;
    for (int i = 0; i < 64; i += 8) {
        uint64_t eight;
        std::memcpy(&eight, flags + i, 8);
        bits |= (eight * 0x0102040810204080u) >> 56 << i;  // gathers each byte's low bit
    }
    return bits;
}

// Unchanged cells become the transparent index where they make long runs of it: from
// ten in a row on, and on to the end of such a run; one that repeats the colour before
// it stays free, as do shorter stretches between changed cells, for the LZW to take as
// whichever serves its strings. (Marking every unchanged cell, or none, cost more;
// shorter runs than ten did too, once the LZW chose well between the two.)
// Worked out a block at a time with no branch on a cell, as free and changed cells
// alternate in no order a predictor could learn: first where such runs may start, from
// the cells as copied, then each run carried on to its end.
void chooseTransparent(std::vector<uint8_t>& cells, int transparentIndex) {
    constexpr size_t shortestRun = 10;
    constexpr size_t block = 4096;
    constexpr uint8_t colourBits = AdaptiveLzw::freeCell - 1;
    constexpr uint8_t noColour = 0xFF;
    const auto transparent = static_cast<uint8_t>(transparentIndex);
    uint8_t* const cell = cells.data();
    const size_t count = cells.size();
    std::array<uint8_t, block + shortestRun> free;  // the block's cells and the ones after it; 0 past the end
    std::array<uint8_t, block> starts{};           // where a transparent run may start
    uint8_t last = noColour;                        // the colour shown before the block
    uint64_t running = 0;                           // whether the cell before is made transparent
    for (size_t from = 0; from < count; from += block) {
        const size_t length = std::min(block, count - from);
        const size_t known = std::min(free.size(), count - from);
        for (size_t k = 0; k < known; ++k) free[k] = cell[from + k] / AdaptiveLzw::freeCell;
        std::fill(free.begin() + static_cast<std::ptrdiff_t>(known), free.end(), 0);
        const auto startsAt = [&](size_t k, uint8_t before) {
            uint8_t longRun = 1;
            for (size_t j = 0; j < shortestRun; ++j) longRun &= free[k + j];
            const uint8_t colour = cell[from + k] & colourBits;
            return static_cast<uint8_t>((before == transparent) | ((colour != before) & longRun));
        };
        starts[0] = startsAt(0, last);
        for (size_t k = 1; k < length; ++k) starts[k] = startsAt(k, cell[from + k - 1] & colourBits);
        last = cell[from + length - 1] & colourBits;
        // 64 cells a word: a start's bit added to a run of free bits carries through to
        // the run's end, and out of the word into the next one. (Only the last block can
        // end inside a word, and there no cell past the end is free.)
        for (size_t k = 0; k < length; k += 64) {
            const uint64_t frees = bitsOf(free.data() + k), begun = bitsOf(starts.data() + k) & frees;
            uint64_t sum = 0;
            const bool carried = __builtin_add_overflow(frees, begun, &sum);
            running = carried | __builtin_add_overflow(sum, running, &sum);
            for (uint64_t made = (frees & ~sum) | begun; made != 0;) {
                const int first = std::countr_zero(made);
                const int run = std::countr_one(made >> first);
                std::fill_n(cell + from + k + static_cast<size_t>(first), run, transparent);
                made = run + first == 64 ? 0 : made & (~uint64_t{0} << (first + run));
            }
        }
    }
}

// Renumbers `cells` (colours, each maybe marked free, all in `needed`) and
// `transparentIndex` into a colour table of the frame's own, put in `own`, when they need
// at most half of the file's table (`colours`, of 2^fullBits entries) and the frame is
// large enough for that to pay: a code covers about three pixels, and until the table's
// codes are 12 bits wide (about half of them) each is a bit shorter for each bit the
// indices lose; the table costs 3 bytes an entry. Gives the indices' bits: fullBits, or
// fewer with a table of their own.
int useOwnColours(std::vector<uint8_t>& cells, int& transparentIndex, ColourSet needed, const ColourTable& colours,
                  int fullBits, std::vector<Rgb>& own) {
    constexpr uint32_t colourBits = AdaptiveLzw::freeCell - 1;
    if (transparentIndex >= 0) needed[static_cast<size_t>(transparentIndex)] = 1;
    const auto count = static_cast<uint32_t>(std::count(needed.begin(), needed.end(), 1));
    const int bits = std::max(2, static_cast<int>(std::bit_width(count - 1)));
    if (bits >= fullBits || cells.size() * static_cast<size_t>(fullBits - bits) < (size_t{144} << bits))
        return fullBits;

    std::array<uint8_t, 128> renumbered{};
    for (size_t i = 0; i < needed.size(); ++i)
        if (needed[i]) {
            renumbered[i] = static_cast<uint8_t>(own.size());
            own.push_back(colours[i]);
        }
    own.resize(size_t{1} << bits);
    for (uint8_t& cell : cells) cell = renumbered[cell & colourBits] | (cell & AdaptiveLzw::freeCell);
    if (transparentIndex >= 0) transparentIndex = renumbered[static_cast<size_t>(transparentIndex)];
    return bits;
}

}  // namespace

bool SmallFrameEncoder::encode(const PixelGrid* previous, const PixelGrid& grid, const SmallFrameLook& look,
                               std::vector<uint8_t>& out, const RowGate& gate) {
    const size_t from = out.size();
    if (!encodeSmall(previous, grid, look, out, gate)) return false;
    const auto size = static_cast<size_t>(grid.size());
    if (size * size <= plainCheckedCells) keepPlainIfShorter(grid, look, from, out);
    return true;
}

void SmallFrameEncoder::keepPlainIfShorter(const PixelGrid& grid, const SmallFrameLook& look, size_t from,
                                           std::vector<uint8_t>& out) {
    plainFrame_.clear();
    // Whole and opaque but for a transparent 0, it may stay on screen under the next
    // frame's box as any small frame does.
    putFrameHead(plainFrame_, {0, 0, grid.size(), grid.size()}, look.transparentZero ? restoreBackground : keepPicture,
                 look.transparentZero ? 0 : noTransparency, look.delayCentiseconds);
    plainFrame_.push_back(LzwEncoder::minimumCodeSize);
    plainFrame_.push_back(0xFE);  // the plain LZW's first sub-block length
    // In a shorter table the picture is renumbered, one to one: the plain LZW's codes keep
    // their widths, and the frame its length.
    const PixelGrid* picture = &grid;
    if (look.renumbered != eachIndexItsOwn()) {
        renumberedGrid_.resize(grid.size());
        const size_t cells = static_cast<size_t>(grid.size()) * grid.size();
        std::transform(grid.row(1), grid.row(1) + cells, renumberedGrid_.row(1),
                       [&](uint8_t i) { return look.renumbered[i]; });
        picture = &renumberedGrid_;
    }
    plainLzw_.encode(*picture, plainFrame_);
    if (plainFrame_.size() >= out.size() - from) return;
    out.resize(from);
    out.insert(out.end(), plainFrame_.begin(), plainFrame_.end());
}

bool SmallFrameEncoder::encodeSmall(const PixelGrid* previous, const PixelGrid& grid, const SmallFrameLook& look,
                                    std::vector<uint8_t>& out, const RowGate& gate) {
    const int size = grid.size();
    if (look.transparentZero || !previous) {
        for (int row = 1; row <= size + 1; ++row)
            if (gate && !gate(row)) return false;
        cells_.resize(static_cast<size_t>(size) * size);
        ColourSet colours{};
        std::transform(grid.row(1), grid.row(1) + cells_.size(), cells_.begin(), [&](uint8_t i) {
            colours[look.standIns[i]] = 1;
            return look.standIns[i];
        });
        put({0, 0, size, size}, look.transparentZero ? restoreBackground : keepPicture,
            look.transparentZero ? 0 : noTransparency, colours, look, out);
        return true;
    }
    Box box;
    if (!changedBox(*previous, grid, gate, box) || (gate && !gate(size + 1))) return false;
    if (box.width == 0) box = {0, 0, 1, 1};  // nothing changed: one cell drawn as it is

    const BoxContent content = copyBox(*previous, grid, box, look, cells_);
    // Without a spare index every cell is drawn as it is.
    if (content.spareIndex >= 0 && content.anyUnchanged) chooseTransparent(cells_, content.spareIndex);
    else
        for (uint8_t& cell : cells_) cell &= AdaptiveLzw::freeCell - 1;
    put(box, keepPicture, content.anyUnchanged ? content.spareIndex : noTransparency, content.colours, look, out);
    return true;
}

void SmallFrameEncoder::put(const FrameBox& box, int disposal, int transparentIndex, const ColourSet& colours,
                            const SmallFrameLook& look, std::vector<uint8_t>& out) {
    ownColours_.clear();
    const int codeSize = look.colours
                             ? useOwnColours(cells_, transparentIndex, colours, *look.colours, look.colourBits, ownColours_)
                             : look.colourBits;
    putFrameHead(out, box, disposal, transparentIndex, look.delayCentiseconds, ownColours_);
    lzw_.encode(cells_, out, transparentIndex, codeSize);
}

StandIns standInsOf(const ColourTable& colours, bool transparentZero) {
    StandIns standIns = eachIndexItsOwn();
    for (size_t i = transparentZero ? 2 : 1; i < colours.size(); ++i)
        for (size_t first = transparentZero ? 1 : 0; first < i; ++first)
            if (colours[first] == colours[i]) {
                standIns[i] = static_cast<uint8_t>(first);
                break;
            }
    return standIns;
}

SmallFrameLook smallFrameLook(const FileHead& head, const StandIns& renumbered) {
    const StandIns inTable = standInsOf(head.colours, head.transparentZero);
    StandIns standIns;
    for (size_t i = 0; i < standIns.size(); ++i) standIns[i] = inTable[renumbered[i]];
    return {head.delayCentiseconds, head.transparentZero, standIns, head.colours, head.colourBits, renumbered};
}

SmallFile smallFile(const FileHead& plain, IndexSet possible) {
    if (plain.transparentZero) possible[0] = true;
    const auto count = static_cast<int>(std::count(possible.begin(), possible.end(), true));
    // Frames cropped to what changed want a transparent index no picture index takes.
    const int entries = count + (plain.transparentZero ? 0 : 1);
    const int bits = std::max(2, static_cast<int>(std::bit_width(static_cast<unsigned>(entries - 1))));
    if (bits >= plain.colourBits) return {plain, smallFrameLook(plain)};

    SmallFile file{plain, {}};
    file.head.colourBits = bits;
    file.head.colours.fill({0, 0, 0});
    StandIns renumbered{};
    for (size_t i = 0, entry = 0; i < possible.size(); ++i)
        if (possible[i]) {
            renumbered[i] = static_cast<uint8_t>(entry);
            file.head.colours[entry++] = plain.colours[i];
        }
    file.look = smallFrameLook(file.head, renumbered);
    return file;
}

}  // namespace pestrolik
