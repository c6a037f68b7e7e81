// The built song against the rows worked out by hand from the score.

#include <gtest/gtest.h>

#include <vector>

#include "music/song_builder.h"

namespace pestrolik {
namespace {

std::vector<uint32_t> stepMessages(const SongTable& table, int step) {
    std::vector<uint32_t> messages;
    for (int slot = 1; table.at(step, slot) != SongTable::kEmpty; ++slot) messages.push_back(table.at(step, slot));
    return messages;
}

SongTable buildOnEmptyStore() {
    MemorySettingsStore store;
    SongTable table;
    buildSong(store, table);
    return table;
}

using Row = std::vector<uint32_t>;

TEST(SongWithCountersAtZero, TellingRows) {
    const SongTable table = buildOnEmptyStore();
    EXPECT_EQ(stepMessages(table, 1), (Row{0x000033C0, 0x000026C3, 0x000036C1, 0x00642499, 0x00642C99,
                                           0x004D4190, 0x004D3C90, 0x004D3890, 0x004D1D93, 0x00492993}));
    EXPECT_EQ(table.at(1, 11), 0u);
    EXPECT_EQ(stepMessages(table, 13), (Row{0x00007BB3, 0x00007BB0, 0x00007BB1, 0x00642499, 0x00642C99, 0x004D3F90,
                                            0x004D3A90, 0x004D3790, 0x004D1B93, 0x00492793, 0x00644F91}));
    EXPECT_EQ(stepMessages(table, 43),
              (Row{0x00007BB3, 0x00642499, 0x00642C99, 0x00003F90, 0x004D3E90, 0x004D2293, 0x00492E93}));
    EXPECT_EQ(stepMessages(table, 169), (Row{0x00643999, 0x00007BB0, 0x00007BB3, 0x00007BB1}));
    EXPECT_EQ(stepMessages(table, 170), (Row{0x00000001}));
    EXPECT_EQ(stepMessages(table, 177), Row{});
}

// Rows read off the bar table by hand: the bass exception, the crash on bar 9, the
// second chord change, a cross without a note and the added snares of the last bar.
TEST(SongWithCountersAtZero, ExceptionRows) {
    const SongTable table = buildOnEmptyStore();
    // bar 5 s7: lower bass R+2 = 27, upper stays R+12 = 37; solo cross and 79
    EXPECT_EQ(stepMessages(table, 55),
              (Row{0x00007BB3, 0x00007BB1, 0x00642499, 0x00642C99, 0x004D1B93, 0x00492593, 0x00644F91}));
    // bar 9 s1: crash 57 between hi-hat and chord; no solo
    EXPECT_EQ(stepMessages(table, 97), (Row{0x00007BB3, 0x00007BB0, 0x00642499, 0x00642C99, 0x00643999, 0x004D3D90,
                                            0x004D3890, 0x004D3590, 0x004D1993, 0x00492593}));
    // bar 8 s7: release 56, strike 55
    EXPECT_EQ(stepMessages(table, 91),
              (Row{0x00007BB3, 0x00642499, 0x00642C99, 0x00003890, 0x004D3790, 0x004D1B93, 0x00492793}));
    // bar 14 s9: bass drum and the added snare; bar 14 s10: solo cross without a note
    EXPECT_EQ(stepMessages(table, 165), (Row{0x00007BB3, 0x00642499, 0x00642699, 0x004D1893, 0x00492493}));
    EXPECT_EQ(stepMessages(table, 166), (Row{0x00007BB3, 0x00007BB1, 0x00642699, 0x004D2493, 0x00493093}));
    // bar 12 s4: the only crossed solo note on s4
    EXPECT_EQ(stepMessages(table, 136), (Row{0x00007BB3, 0x00007BB1, 0x00642699, 0x004D2593, 0x00493193, 0x00644B91}));
}

TEST(SongWithCountersAtZero, ShapeOfTheTable) {
    const SongTable table = buildOnEmptyStore();
    for (int step = 1; step <= kSongLastStep; ++step) {
        SCOPED_TRACE(step);
        EXPECT_GE(table.messageCount(step), 1);
        EXPECT_LE(table.messageCount(step), 11);
    }
    for (int step = 170; step <= kSongLastStep; ++step) EXPECT_EQ(stepMessages(table, step), Row{1});
    // Nothing outside the song: past each step's messages, the unused row and column,
    // the steps after the end marker.
    for (int step = 0; step < SongTable::kStepCount; ++step) {
        const int firstFree = step == 0 || step > kSongLastStep ? 0 : table.messageCount(step) + 1;
        for (int slot = 0; slot < SongTable::kSlotCount; ++slot)
            if (slot == 0 || slot >= firstFree) {
                EXPECT_EQ(table.at(step, slot), 0u) << step << "/" << slot;
            }
    }
}

TEST(SongBuiltTwice, SameCellsWithTheSecondBuildsValues) {
    MemorySettingsStore store;
    SongTable first, twice;
    buildSong(store, first);
    twice = first;
    buildSong(store, twice);

    MemorySettingsStore atOne;  // where the second build's counters stand
    for (const char* key : {"sol", "fon", "bas"}) atOne.save("met2", key, "1");
    SongTable once;
    buildSong(atOne, once);

    bool anyDifferent = false;
    for (int step = 0; step < SongTable::kStepCount; ++step)
        for (int slot = 0; slot < SongTable::kSlotCount; ++slot) {
            EXPECT_EQ(twice.at(step, slot), once.at(step, slot));
            EXPECT_EQ(first.at(step, slot) == 0, twice.at(step, slot) == 0);
            anyDifferent |= first.at(step, slot) != twice.at(step, slot);
        }
    EXPECT_TRUE(anyDifferent);
}

}  // namespace
}  // namespace pestrolik
