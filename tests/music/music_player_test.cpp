// The step player against a recording output and a hand-driven timer.

#include <gtest/gtest.h>

#include "manual_step_timer.h"
#include "music/music_player.h"
#include "music/song_builder.h"
#include "recording_midi_output.h"

namespace pestrolik {
namespace {

using Call = RecordingMidiOutput::Call;
using Events = std::vector<RecordingMidiOutput::Event>;

class MusicPlayerTest : public ::testing::Test {
protected:
    MusicPlayerTest() { writeSong(SongVoices{}, song); }
    std::vector<uint32_t> stepMessages(int step) const {
        std::vector<uint32_t> messages;
        for (int slot = 1; slot <= song.messageCount(step); ++slot) messages.push_back(song.at(step, slot));
        return messages;
    }
    // Ticks until the player stops by itself; how many ticks that took.
    int ticksToTheEnd(MusicPlayer& player) {
        int ticks = 0;
        for (; player.isPlaying() && ticks < 1000; ++ticks) player.tick();
        EXPECT_FALSE(timer.running);
        return ticks;
    }

    SongTable song;
    RecordingMidiOutput output{false};  // refuses to open, as without a MIDI device: the song plays on all the same
    ManualStepTimer timer;
    MusicPlayer player{song, output, timer};
};

TEST_F(MusicPlayerTest, PlaysOneStepPerTickThenStopsAtTheEndMarker) {
    player.startMusic();
    EXPECT_EQ(timer.interval, 155);
    EXPECT_EQ(output.events(), Events{{Call::Open}});  // the first step waits for the first tick
    for (int step = 1; step <= 176; ++step) {          // the rests are not the end
        output.forget();
        player.tick();
        ASSERT_EQ(output.events().size(), stepMessages(step).size()) << "step " << step;  // no close
        ASSERT_EQ(output.sent(), stepMessages(step)) << "step " << step;
    }
    EXPECT_EQ(song.messageCount(177), 0);  // the end marker holds nothing
    EXPECT_EQ(ticksToTheEnd(player), 1);  // the 177th finds the end marker
    player.stopMusic();                   // back to the main screen, then shut-down: harmless closes
    player.stopMusic();
    EXPECT_EQ(output.count(Call::Close), 3);
}

TEST_F(MusicPlayerTest, StopInTheMiddleSendsNothingMoreAndTheNextStartBeginsAgain) {
    player.startMusic();
    for (int i = 0; i < 50; ++i) player.tick();
    player.stopMusic();
    EXPECT_FALSE(timer.running);
    output.forget();
    player.tick();  // a tick that was already queued
    EXPECT_EQ(output.events(), Events{});

    player.startMusic();  // the about screen opened again
    player.tick();
    EXPECT_EQ(output.sent(), stepMessages(1));
    EXPECT_EQ(ticksToTheEnd(player), 176);
}

}  // namespace
}  // namespace pestrolik
