#pragma once
// The song as the step player reads it: one row of packed MIDI short messages per
// time step. Lives as long as the program; a build overwrites cells, never clears.

#include <array>
#include <cstdint>

namespace pestrolik {

class SongTable {
public:
    static constexpr int kStepCount = 201;  // steps 1..200; step 0 unused
    static constexpr int kSlotCount = 21;   // slots 1..20; slot 0 unused
    static constexpr uint32_t kEmpty = 0;
    // Slot 1 of a silent step: keeps the player going without sounding anything.
    static constexpr uint32_t kRestMarker = 1;

    // The cell's value; kEmpty for an empty cell or for indices outside the table (step 0
    // and slot 0 among them).
    uint32_t at(int step, int slot) const;
    // Stores `value` (a packed message: status in bits 0-7, data bytes in 8-15 and 16-23).
    // Indices outside the table are ignored.
    void set(int step, int slot, uint32_t value);
    // How many messages the step holds, counted from slot 1 up to the first empty slot.
    int messageCount(int step) const;

private:
    static bool inside(int step, int slot);

    std::array<std::array<uint32_t, kSlotCount>, kStepCount> cells_{};
};

}  // namespace pestrolik
