#pragma once
// GIF LZW that keeps adapting: whenever the code table fills, a clear code starts a
// fresh one, so a long frame is never stuck with the table its first rows built. The
// data goes into full 255-byte sub-blocks, the last one as long as it needs to be.

#include <cstdint>
#include <span>
#include <vector>

namespace pestrolik {

class AdaptiveLzw {
public:
    static constexpr int minimumCodeSize = 7;  // indices 0..127

    AdaptiveLzw();

    // Appends the image data of `indices` (each 0..127, at least one) to `out`: the
    // minimum code size byte, the sub-blocks and the block terminator.
    void encode(std::span<const uint8_t> indices, std::vector<uint8_t>& out);

private:
    // next_[prefixCode * 128 + index] is the code of prefix+index, 0 when absent.
    std::vector<uint16_t> next_;
    std::vector<uint32_t> filled_;  // the entries of next_ set since the last clear
    std::vector<uint8_t> codeBytes_;
};

}  // namespace pestrolik
