#pragma once
// One frame of colour indices (0..127), square, addressed by row and column from 1
// as the drawing formulas count them; stored row after row without padding.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pestrolik {

class PixelGrid {
public:
    explicit PixelGrid(int size = 0) : size_(size), cells_(static_cast<size_t>(size) * size) {}

    int size() const { return size_; }

    // row and column run 1..size()
    uint8_t at(int row, int column) const { return cells_[index(row, column)]; }
    uint8_t& at(int row, int column) { return cells_[index(row, column)]; }

    // The cells of one row, column 1 first.
    const uint8_t* row(int row) const { return &cells_[index(row, 1)]; }
    uint8_t* row(int row) { return &cells_[index(row, 1)]; }

    void resize(int size) { size_ = size; cells_.assign(static_cast<size_t>(size) * size, 0); }

private:
    size_t index(int row, int column) const {
        return static_cast<size_t>(row - 1) * size_ + static_cast<size_t>(column - 1);
    }

    int size_;
    std::vector<uint8_t> cells_;
};

}  // namespace pestrolik
