#pragma once
// GIF LZW that keeps adapting. Whenever the code table fills, the next stretch of
// pixels is encoded both ways, with the full table kept and with a fresh one after a
// clear code, and the one that spends fewer bits a pixel is written; so a long frame is
// never stuck with the table its first rows built, nor throws away a table that still
// serves. Such choices over short stretches can still lose to keeping the first table to
// the end, as a plain encoder does; that is encoded too, and the shorter kept. The data
// goes into full 255-byte sub-blocks, the last as long as it needs.

#include <cstdint>
#include <span>
#include <vector>

namespace pestrolik {

class AdaptiveLzw {
public:
    static constexpr int minimumCodeSize = 7;  // indices 0..127

    // Appends the image data of `indices` (each 0..127, at least one) to `out`: the
    // minimum code size byte, the sub-blocks and the block terminator.
    void encode(std::span<const uint8_t> indices, std::vector<uint8_t>& out);

    // A code table and where its growth stands.
    struct Table {
        std::vector<uint16_t> next;   // next[prefixCode * 128 + index]: code of prefix+index, 0 when absent
        std::vector<uint32_t> filled; // the entries of next set since the last clear
        uint32_t nextCode = 0;
        int codeWidth = 0;
        bool full() const;
        void clear();
    };

private:
    // The codes clearing where a stretch says so, or never, into codeBytes_.
    void encodeAdapting(std::span<const uint8_t> indices);
    void encodeKeeping(std::span<const uint8_t> indices);

    Table tables_[2];
    std::vector<uint32_t> trial_[2];  // codes of the two ways through a stretch, each with its width
    std::vector<uint8_t> codeBytes_;
    std::vector<uint8_t> keptBytes_;
};

}  // namespace pestrolik
