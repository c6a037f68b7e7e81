#include "gif/small_frame.h"

#include <algorithm>
#include <array>

namespace pestrolik {

namespace {

// The part of the screen a frame covers, in cells from 0.
struct Box {
    int left = 0, top = 0, width = 0, height = 0;
};

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

void putWord(std::vector<uint8_t>& bytes, int value) {  // little-endian
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

// Disposal methods of the graphic control block.
constexpr int keepPicture = 1;        // the next frame is drawn over this one
constexpr int restoreBackground = 2;  // this frame's box shows the background again
constexpr int noTransparency = -1;

void putFrameHead(std::vector<uint8_t>& out, const Box& box, int disposal, int transparentIndex, int delay) {
    out.push_back(0x21);  // extension introducer
    out.push_back(0xF9);  // graphic control label
    out.push_back(0x04);  // block size
    out.push_back(static_cast<uint8_t>(disposal << 2 | (transparentIndex >= 0 ? 1 : 0)));
    putWord(out, delay);  // hundredths of a second
    out.push_back(static_cast<uint8_t>(std::max(transparentIndex, 0)));
    out.push_back(0x00);  // block terminator
    out.push_back(0x2C);  // image separator
    putWord(out, box.left);
    putWord(out, box.top);
    putWord(out, box.width);
    putWord(out, box.height);
    out.push_back(0x00);  // no local table, not interlaced
}

}  // namespace

bool SmallFrameEncoder::encode(const PixelGrid* previous, const PixelGrid& grid, const SmallFrameLook& look,
                               std::vector<uint8_t>& out, const RowGate& gate) {
    const int size = grid.size();
    const size_t cellCount = static_cast<size_t>(size) * size;
    if (look.transparentZero || !previous) {
        for (int row = 1; row <= size; ++row)
            if (gate && !gate(row)) return false;
        if (gate && !gate(size + 1)) return false;
        const int disposal = look.transparentZero ? restoreBackground : keepPicture;
        putFrameHead(out, {0, 0, size, size}, disposal, look.transparentZero ? 0 : noTransparency,
                     look.delayCentiseconds);
        lzw_.encode({grid.row(1), cellCount}, out);
        return true;
    }

    Box box;
    if (!changedBox(*previous, grid, gate, box)) return false;
    if (gate && !gate(size + 1)) return false;
    if (box.width == 0) box = {0, 0, 1, 1};  // nothing changed: one cell drawn as it is

    // The box as it is, and which indices its changed cells use.
    cells_.resize(static_cast<size_t>(box.width) * box.height);
    std::array<bool, 128> used{};
    size_t unchanged = 0;
    for (int r = 0; r < box.height; ++r) {
        const uint8_t* now = grid.row(box.top + r + 1) + box.left;
        const uint8_t* before = previous->row(box.top + r + 1) + box.left;
        uint8_t* cell = cells_.data() + static_cast<size_t>(r) * box.width;
        std::copy_n(now, box.width, cell);
        for (int c = 0; c < box.width; ++c) {
            if (now[c] == before[c]) ++unchanged;
            else used[now[c]] = true;
        }
    }

    const size_t frameStart = out.size();
    putFrameHead(out, box, keepPicture, noTransparency, look.delayCentiseconds);
    lzw_.encode(cells_, out);

    // Unchanged cells as a transparent index only pays where they are many: scattered,
    // they break the runs the picture's own colours make.
    const auto spare = std::find(used.begin(), used.end(), false);
    if (spare == used.end() || unchanged * 2 < cells_.size()) return true;
    const int transparentIndex = static_cast<int>(spare - used.begin());
    for (int r = 0; r < box.height; ++r) {
        const uint8_t* before = previous->row(box.top + r + 1) + box.left;
        uint8_t* cell = cells_.data() + static_cast<size_t>(r) * box.width;
        for (int c = 0; c < box.width; ++c)
            if (cell[c] == before[c]) cell[c] = static_cast<uint8_t>(transparentIndex);
    }
    candidate_.clear();
    putFrameHead(candidate_, box, keepPicture, transparentIndex, look.delayCentiseconds);
    lzw_.encode(cells_, candidate_);
    if (candidate_.size() < out.size() - frameStart) {
        out.resize(frameStart);
        out.insert(out.end(), candidate_.begin(), candidate_.end());
    }
    return true;
}

std::vector<uint8_t> smallFrame(const PixelGrid* previous, const PixelGrid& grid, const SmallFrameLook& look) {
    std::vector<uint8_t> bytes;
    SmallFrameEncoder().encode(previous, grid, look, bytes);
    return bytes;
}

}  // namespace pestrolik
