#include "music/song_table.h"

namespace pestrolik {

bool SongTable::inside(int step, int slot) {
    return step >= 1 && step < kStepCount && slot >= 1 && slot < kSlotCount;
}

uint32_t SongTable::at(int step, int slot) const {
    return inside(step, slot) ? cells_[step][slot] : kEmpty;
}

void SongTable::set(int step, int slot, uint32_t value) {
    if (inside(step, slot)) cells_[step][slot] = value;
}

int SongTable::messageCount(int step) const {
    int count = 0;
    while (at(step, count + 1) != kEmpty) ++count;
    return count;
}

}  // namespace pestrolik
