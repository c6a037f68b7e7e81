// The step player against a recording output and a hand-driven timer.

#include <gtest/gtest.h>

#include "manual_step_timer.h"
#include "music/music_player.h"
#include "music/song_builder.h"
#include "recording_midi_output.h"

namespace pestrolik {
namespace {

using Call = RecordingMidiOutput::Call;

// Without a MIDI device (an output that refuses to open) the song plays all the same,
// one step a tick from step 1, the first at the first tick; the 177th tick finds the
// end marker. A stop in the middle silences a tick already queued, and the next start
// begins again.
TEST(MusicPlayer, PlaysOneStepATickUntilTheEndMarkerOrAStop) {
    SongTable song;
    writeSong(SongVoices{}, song);
    RecordingMidiOutput output{false};
    ManualStepTimer timer;
    MusicPlayer player{song, output, timer};
    for (int stopAt : {50, 178}) {
        output.forget();
        player.startMusic();
        EXPECT_EQ(output.events(), std::vector<RecordingMidiOutput::Event>{{Call::Open}});
        EXPECT_TRUE(timer.running && timer.interval == 155);
        int step = 1;
        for (; step < stopAt && player.isPlaying(); ++step) {
            output.forget();
            player.tick();
            std::vector<uint32_t> expected;
            for (int slot = 1; slot <= song.messageCount(step); ++slot) expected.push_back(song.at(step, slot));
            ASSERT_EQ(output.sent(), expected) << "step " << step;
            ASSERT_EQ(output.count(Call::Close), step == 177) << "step " << step;  // the rests are not the end
        }
        EXPECT_EQ(step, stopAt);
        EXPECT_EQ(timer.running, stopAt == 50);
        player.stopMusic();
        EXPECT_FALSE(player.isPlaying() || timer.running);
        output.forget();
        player.tick();  // a tick that was already queued
        EXPECT_TRUE(output.events().empty());
    }
}

}  // namespace
}  // namespace pestrolik
