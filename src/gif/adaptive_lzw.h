#pragma once
// GIF LZW that keeps adapting. Whenever the code table fills, the next stretch of
// pixels is encoded both ways, with the full table kept and with a fresh one after a
// clear code, and the one that spends fewer bits a pixel is written (the fresh one as
// soon as it is ahead, or nearly, at a checkpoint of the stretch); so a long frame is
// never stuck with the table its first rows built, nor throws away a table that still
// serves. (Keeping the first table to the end, as a plain encoder does, was also tried
// on whole frames: it never came out shorter on our pictures.) The data goes into full
// 255-byte sub-blocks, the last as long as it needs.

#include <cstdint>
#include <span>
#include <vector>

namespace pestrolik {

class AdaptiveLzw {
public:
    static constexpr int minimumCodeSize = 7;  // indices 0..127, unless a frame says fewer

    // A cell with this bit set may be written as its colour (the low bits) or as the
    // free index, whichever continues the string being matched.
    static constexpr uint8_t freeCell = 0x80;

    // Appends the image data of `indices` (each below 2^codeSize, at least one; free cells
    // only with a free index, also below it) to `out`: the minimum code size byte, the
    // sub-blocks and the block terminator. `codeSize` is 2..7.
    void encode(std::span<const uint8_t> indices, std::vector<uint8_t>& out, int freeIndex = -1,
                int codeSize = minimumCodeSize);

    // A code table and where its growth stands.
    struct Table {
        std::vector<uint16_t> next;   // the code of each prefix and index (see entryOf), 0 when absent
        std::vector<uint32_t> filled; // by code, from firstSet to nextCode: where in next it is
        int codeSize = minimumCodeSize;
        uint32_t firstSet = 0;        // the first code after the last clear
        uint32_t nextCode = 0;
        int codeWidth = 0;
        bool full() const;
        void clear();
    };

    // Codes, each with its width, in words that are kept from frame to frame: a walk
    // writes one at every cell and counts only those that end a string.
    struct CodeList {
        std::vector<uint32_t> words;
        size_t count = 0;
        // Room for `more` words after the counted ones.
        uint32_t* roomFor(size_t more);
    };

private:
    // The codes, clearing where a stretch says so, into codeBytes_.
    void encodeAdapting(std::span<const uint8_t> indices, int codeSize);

    int freeIndex_ = -1;
    Table tables_[2];
    CodeList trial_[2];  // codes of the two ways through a stretch
    std::vector<uint8_t> codeBytes_;  // room for the codes; the first codeLength_ bytes hold them
    size_t codeLength_ = 0;
};

}  // namespace pestrolik
