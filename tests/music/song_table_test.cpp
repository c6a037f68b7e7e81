// Every cell of the built song, for every row of the instrument tables, against the
// song and the instrument rows written out by hand in data/.

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "data_table.h"
#include "music/song_builder.h"

namespace pestrolik {
namespace {

using testing::DataRow;
using Parameters = std::map<std::string, uint32_t>;

// "Ps=54" and the like, after the key, the stored text and the next value.
void choose(const DataRow& counterRow, Parameters& parameters) {
    for (auto word = counterRow.begin() + 3; word != counterRow.end(); ++word)
        parameters[word->substr(0, word->find('='))] = std::stoul(word->substr(word->find('=') + 1));
}

// "93:29:Vl": status in hex, then data bytes in decimal or by parameter name.
uint32_t message(const std::string& text, const Parameters& parameters) {
    std::istringstream fields(text);
    uint32_t packed = 0;
    std::string field;
    for (int shift = 0; std::getline(fields, field, ':'); shift += 8)
        packed |= (shift == 0                   ? std::stoul(field, nullptr, 16)
                   : parameters.contains(field) ? parameters.at(field)
                                                : std::stoul(field)) << shift;
    return packed;
}

TEST(SongTable, EveryCellForEveryCounterRow) {
    const std::vector<DataRow> song = testing::readDataTable(TEST_DATA_DIR "/song_steps.txt", ' ');
    const std::vector<DataRow> counters = testing::readDataTable(TEST_DATA_DIR "/voice_counters.txt", ' ');
    SongTable table;  // one table for every build: each must replace all of the one before
    for (const DataRow& row : counters) {
        SCOPED_TRACE(row[0] + " " + row[1]);
        MemorySettingsStore store;
        if (row[1] != "-") store.save("met2", row[0], std::regex_replace(row[1], std::regex("~"), " "));
        table.set(0, 21, 7);  // outside the table: ignored, so nothing spills into step 1
        table.set(201, 1, 7);
        buildSong(store, table);

        Parameters parameters;
        for (const DataRow& missing : counters)
            if (missing[1] == "-") {
                choose(missing, parameters);
                EXPECT_EQ(store.get("met2", missing[0], "?"), missing[0] == row[0] ? row[2] : missing[2]);
            }
        choose(row, parameters);
        std::vector<std::array<uint32_t, 22>> expected(202);  // steps 0..200, slots 0..20, and one past each
        for (const DataRow& step : song)
            for (size_t slot = 1; slot < step.size(); ++slot)
                expected.at(std::stoi(step[0])).at(slot) = message(step[slot], parameters);
        for (int step = 0; step <= 201; ++step)
            for (int slot = 0; slot <= 21; ++slot)
                ASSERT_EQ(table.at(step, slot), expected[step][slot]) << "step " << step << " slot " << slot;
    }
}

}  // namespace
}  // namespace pestrolik
