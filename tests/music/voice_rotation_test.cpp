// The voice counters in the settings store and the instruments they choose, read
// back from the built song's messages.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "music/song_builder.h"

namespace pestrolik {
namespace {

// Where the build parameters show in the song: step 1 holds the three program
// changes and the first chord and bass; step 13 ends with the first solo note.
struct Heard {
    uint32_t backgroundProgram, bassProgram, soloProgram;
    uint32_t backgroundVelocity, bassLowerVelocity, bassUpperVelocity, soloVelocity, drumVelocity;
};

Heard hear(const SongTable& table) {
    auto dataByte = [&](int step, int slot, int shift) { return table.at(step, slot) >> shift & 0xFF; };
    return {dataByte(1, 1, 8), dataByte(1, 2, 8), dataByte(1, 3, 8), dataByte(1, 6, 16),
            dataByte(1, 9, 16), dataByte(1, 10, 16), dataByte(13, 11, 16), dataByte(1, 4, 16)};
}

Heard buildWith(MemorySettingsStore& store) {
    SongTable table;
    buildSong(store, table);
    return hear(table);
}

std::string stored(MemorySettingsStore& store, const char* key) {
    return store.get("met2", key, "<missing>");
}

TEST(VoiceRotation, FreshStoreStartsAtZeroAndStoresOne) {
    MemorySettingsStore store;
    const Heard first = buildWith(store);
    EXPECT_EQ(std::tie(first.soloProgram, first.backgroundProgram, first.bassProgram), std::tuple(54u, 51u, 38u));
    EXPECT_EQ(first.drumVelocity, 100u);
    for (const char* key : {"sol", "fon", "bas"}) EXPECT_EQ(stored(store, key), "1") << key;
    EXPECT_FALSE(store.has("tem2", "fon"));
}

TEST(VoiceRotation, SecondBuildIsWhatTheAboutScreenFirstPlays) {
    MemorySettingsStore store;
    buildWith(store);  // start-up
    const Heard about = buildWith(store);
    EXPECT_EQ(std::tie(about.soloProgram, about.backgroundProgram, about.bassProgram), std::tuple(75u, 91u, 34u));
    EXPECT_EQ(std::tie(about.bassLowerVelocity, about.bassUpperVelocity), std::tuple(97u, 97u));
}

struct Row {
    const char* key;
    int value;
    uint32_t program, velocity, upperVelocity;  // upperVelocity for the bass only
};

// Every row of the three instrument tables, value by value.
TEST(VoiceRotation, EachCounterValueChoosesItsRow) {
    const Row rows[] = {
        {"sol", 0, 54, 100, 0},  {"sol", 1, 75, 100, 0},  {"sol", 2, 18, 100, 0},  {"sol", 3, 88, 100, 0},
        {"sol", 4, 95, 81, 0},   {"sol", 5, 16, 87, 0},   {"sol", 6, 17, 87, 0},   {"sol", 7, 43, 55, 0},
        {"sol", 8, 72, 72, 0},   {"sol", 9, 104, 72, 0},  {"fon", 0, 51, 77, 0},   {"fon", 1, 91, 77, 0},
        {"fon", 2, 85, 77, 0},   {"fon", 3, 102, 77, 0},  {"fon", 4, 16, 59, 0},   {"fon", 5, 52, 77, 0},
        {"fon", 6, 19, 62, 0},   {"fon", 7, 44, 82, 0},   {"fon", 8, 64, 65, 0},   {"fon", 9, 82, 72, 0},
        {"fon", 10, 88, 77, 0},  {"bas", 0, 38, 77, 73},  {"bas", 1, 34, 97, 97},  {"bas", 2, 87, 63, 63},
        {"bas", 3, 33, 77, 73},  {"bas", 4, 28, 79, 79},  {"bas", 5, 48, 89, 89},  {"bas", 6, 105, 77, 73},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.key) + "=" + std::to_string(row.value));
        MemorySettingsStore store;
        store.save("met2", row.key, std::to_string(row.value));
        const Heard heard = buildWith(store);
        const std::string key = row.key;
        if (key == "sol") {
            EXPECT_EQ(std::tie(heard.soloProgram, heard.soloVelocity), std::tie(row.program, row.velocity));
        } else if (key == "fon") {
            EXPECT_EQ(std::tie(heard.backgroundProgram, heard.backgroundVelocity), std::tie(row.program, row.velocity));
        } else {
            EXPECT_EQ(std::tie(heard.bassProgram, heard.bassLowerVelocity, heard.bassUpperVelocity),
                      std::tie(row.program, row.velocity, row.upperVelocity));
        }
        const int last = key == "sol" ? 9 : key == "fon" ? 10 : 6;
        EXPECT_EQ(stored(store, row.key), std::to_string(row.value == last ? 0 : row.value + 1));
    }
}

TEST(VoiceRotation, CombinationRepeatsOnlyAfter770Builds) {
    MemorySettingsStore store;
    std::set<std::tuple<std::string, std::string, std::string>> seen;
    auto counters = [&] { return std::tuple(store.get("met2", "sol", "0"), store.get("met2", "fon", "0"),
                                            store.get("met2", "bas", "0")); };
    const auto start = counters();
    SongTable table;
    int builds = 0;
    do {
        EXPECT_TRUE(seen.insert(counters()).second) << "repeated after " << builds;
        buildSong(store, table);
        ++builds;
    } while (counters() != start && builds < 1000);
    EXPECT_EQ(builds, 770);
}

// Text that is no counter value of its range sounds the "other" row and restarts
// the counter at 0.
TEST(VoiceRotation, UnreadableOrOutOfRangeCountersUseTheOtherRow) {
    struct Case {
        const char* sol;
        const char* fon;
        const char* bas;
    };
    for (const Case& c : {Case{"abc", "11", "-3"}, Case{"", "2x", "7"}, Case{"10", "256", "99999999999999999999"},
                          Case{"0x3", "3.0", "+1"}}) {
        SCOPED_TRACE(std::string(c.sol) + "/" + c.fon + "/" + c.bas);
        MemorySettingsStore store;
        store.save("met2", "sol", c.sol);
        store.save("met2", "fon", c.fon);
        store.save("met2", "bas", c.bas);
        const Heard heard = buildWith(store);
        EXPECT_EQ(std::tie(heard.soloProgram, heard.soloVelocity), std::tuple(15u, 100u));  // Dulcimer
        EXPECT_EQ(std::tie(heard.backgroundProgram, heard.backgroundVelocity), std::tuple(51u, 77u));
        EXPECT_EQ(std::tie(heard.bassProgram, heard.bassLowerVelocity, heard.bassUpperVelocity),
                  std::tuple(38u, 77u, 73u));
        for (const char* key : {"sol", "fon", "bas"}) EXPECT_EQ(stored(store, key), "0") << key;
    }
}

TEST(VoiceRotation, BlanksAroundACounterAreForgiven) {
    MemorySettingsStore store;
    store.save("met2", "sol", " 7 ");
    EXPECT_EQ(buildWith(store).soloProgram, 43u);
    EXPECT_EQ(stored(store, "sol"), "8");
}

}  // namespace
}  // namespace pestrolik
