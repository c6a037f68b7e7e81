// The step player against a recording output and a hand-driven timer.

#include <gtest/gtest.h>

#include "manual_step_timer.h"
#include "music/music_player.h"
#include "recording_midi_output.h"
#include "music/song_builder.h"

namespace pestrolik {
namespace {

using Call = RecordingMidiOutput::Call;
using Events = std::vector<RecordingMidiOutput::Event>;

class MusicPlayerTest : public ::testing::Test {
protected:
    MusicPlayerTest() {
        MemorySettingsStore store;
        buildSong(store, song);
    }
    std::vector<uint32_t> stepMessages(int step) const {
        std::vector<uint32_t> messages;
        for (int slot = 1; slot <= song.messageCount(step); ++slot) messages.push_back(song.at(step, slot));
        return messages;
    }
    // Ticks until the player stops by itself; the number of ticks it took.
    int tickToTheEnd() {
        int ticks = 0;
        for (; player.isPlaying() && ticks < 1000; ++ticks) player.tick();
        return ticks;
    }

    SongTable song;
    RecordingMidiOutput output;
    ManualStepTimer timer;
    MusicPlayer player{song, output, timer};
};

TEST_F(MusicPlayerTest, PlaysOneStepPerTickThenStopsAtTheEndMarker) {
    player.startMusic();
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.interval, 155);
    EXPECT_EQ(output.events(), Events{{Call::Open}});  // the first step waits for the first tick

    for (int step = 1; step <= kSongLastStep; ++step) {  // rests included: they are not the end
        output.forget();
        player.tick();
        ASSERT_EQ(output.sent(), stepMessages(step)) << "step " << step;
        ASSERT_EQ(output.count(Call::Close), 0) << "step " << step;
    }
    output.forget();
    player.tick();  // the 177th finds the end marker
    EXPECT_EQ(output.events(), Events{{Call::Close}});
    EXPECT_FALSE(timer.running);
    EXPECT_FALSE(player.isPlaying());
}

TEST_F(MusicPlayerTest, StopInTheMiddleClosesKeepsThePlaceAndSendsNothingMore) {
    player.startMusic();
    for (int i = 0; i < 50; ++i) player.tick();
    player.stopMusic();
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(output.events().back().call, Call::Close);
    EXPECT_EQ(player.step(), 51);

    output.forget();
    player.tick();  // a tick that was already queued
    EXPECT_EQ(output.events(), Events{});

    player.startMusic();  // the about screen opened again
    player.tick();
    EXPECT_EQ(output.sent(), stepMessages(1));
    EXPECT_EQ(tickToTheEnd(), 176);
}

TEST_F(MusicPlayerTest, ClosingAgainAfterTheEndIsOnlyAnotherClose) {
    player.startMusic();
    tickToTheEnd();
    output.forget();
    player.stopMusic();  // back to the main screen
    player.stopMusic();  // then shut-down
    EXPECT_EQ(output.events(), (Events{{Call::Close}, {Call::Close}}));
}

TEST_F(MusicPlayerTest, WithoutAnOutputTheSongStillRunsToItsEnd) {
    RecordingMidiOutput refusing(false);
    MusicPlayer silent(song, refusing, timer);
    silent.startMusic();
    EXPECT_TRUE(timer.running);
    int ticks = 0;
    for (; silent.isPlaying() && ticks < 1000; ++ticks) silent.tick();
    EXPECT_EQ(ticks, 177);
    EXPECT_FALSE(timer.running);
}

}  // namespace
}  // namespace pestrolik
