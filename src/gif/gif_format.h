#pragma once
// The colour types every GIF file of ours is described with.

#include <array>
#include <cstdint>

namespace pestrolik {

struct Rgb {
    uint8_t red, green, blue;
    bool operator==(const Rgb&) const = default;
};

// The global colour table: 128 entries, so indices take 7 bits.
using ColourTable = std::array<Rgb, 128>;

// Which of a table's indices are in some set, such as those a file's pictures may hold.
using IndexSet = std::array<bool, 128>;

}  // namespace pestrolik
