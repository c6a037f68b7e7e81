// The step player against a recording output and a hand-driven timer; the song as a
// MIDI file, read back by a reader of its own, against what the player sends.

#include <gtest/gtest.h>

#include <algorithm>

#include "music/music_player.h"
#include "music/song_builder.h"
#include "music/song_midi_file.h"
#include "music/voice_rotation.h"
#include "recording_midi_output.h"

namespace pestrolik {
namespace {

using Call = RecordingMidiOutput::Call;

// A step timer that never fires by itself: the test calls the player's tick().
struct ManualStepTimer : StepTimer {
    void start(int intervalMilliseconds) override { running = true, interval = intervalMilliseconds; }
    void stop() override { running = false; }
    bool running = false;
    int interval = 0;
};

// Without a MIDI device (an output that refuses to open) the song plays all the same,
// one step a tick from step 1, the first at the first tick; the 177th tick finds the
// end marker. A stop in the middle silences a tick already queued, and the next start
// begins again.
TEST(MusicPlayer, PlaysOneStepATickUntilTheEndMarkerOrAStop) {
    SongTable song;
    writeSong(SongVoices{}, song);
    RecordingMidiOutput output;
    output.opens = false;
    ManualStepTimer timer;
    MusicPlayer player{song, output, timer};
    EXPECT_FALSE(player.isPlaying());
    for (int stopAt : {50, 178}) {
        output.forget();
        player.startMusic();
        EXPECT_EQ(output.events(), std::vector<RecordingMidiOutput::Event>{{Call::Open}});
        EXPECT_EQ(output.songAtOpening, &song);  // for an output that sets its level by it
        EXPECT_TRUE(timer.running && timer.interval == 155);
        int step = 1;
        for (; step < stopAt && player.isPlaying(); ++step) {
            output.forget();
            player.tick();
            std::vector<uint32_t> expected;
            for (int slot = 1; slot <= song.messageCount(step); ++slot) expected.push_back(song.at(step, slot));
            ASSERT_EQ(output.sent(), expected) << "step " << step;
            ASSERT_EQ(std::ranges::count(output.events(), RecordingMidiOutput::Event{Call::Close}), step == 177) << "step " << step;  // the rests are not the end
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

struct Timed {
    int64_t microseconds;
    std::vector<uint8_t> bytes;  // of a meta event: 0xFF and its type
    bool operator==(const Timed&) const = default;
};

// Just enough of the Standard MIDI File format for one track: every event at its time,
// channel messages each with its status, the tempo read from its meta event.
std::vector<Timed> readMidiFile(const std::vector<uint8_t>& file) {
    auto big = [&](size_t i, int n) { int64_t v = 0; while (n--) v = v << 8 | file.at(i++); return v; };
    EXPECT_EQ(std::string(file.begin(), file.begin() + 12), std::string("MThd\0\0\0\6\0\0\0\1", 12));  // format 0, one track
    EXPECT_EQ(std::string(file.begin() + 14, file.begin() + 18), "MTrk");
    EXPECT_EQ(big(18, 4), int64_t(file.size()) - 22);
    std::vector<Timed> heard;
    int padded = 0;  // delta times in more bytes than they need
    for (size_t i = 22, tempo = 500000, time = 0; i < file.size();) {
        size_t delta = 0;
        padded += file.at(i) == 0x80;
        do delta = delta << 7 | (file.at(i) & 0x7F); while (file.at(i++) & 0x80);
        time += delta * tempo;  // in microseconds × division
        const bool meta = file.at(i) == 0xFF;
        if (meta && file.at(i + 1) == 0x51) tempo = big(i + 3, 3);
        const size_t length = meta ? 3 + file.at(i + 2) : (file.at(i) & 0xE0) == 0xC0 ? 2 : 3;  // program: one data byte
        heard.push_back({int64_t(time) / big(12, 2), {file.begin() + i, file.begin() + i + (meta ? 2 : length)}});
        i += length;
    }
    EXPECT_EQ(padded, 0);
    EXPECT_EQ(std::vector<uint8_t>(file.end() - 3, file.end()), (std::vector<uint8_t>{0xFF, 0x2F, 0x00}));  // end of track, last
    return heard;
}

// The file holds what a MIDI output hears from the player, tick by tick as the player's
// test above has it (step n at n × 155 ms, the rest marker left out, the end at the
// 177th tick), for voices that the counters choose, an unusable one included.
TEST(SongMidiFile, HoldsWhatThePlayerSendsWhenItSendsIt) {
    for (const VoiceCounterValues& counters : {VoiceCounterValues{0, 0, 0}, {9, 10, 6}, {7, std::nullopt, 3}}) {
        SongTable song;
        writeSong(voicesFor(counters), song);
        std::vector<Timed> expected{{0, {0xFF, 0x51}}};
        for (int step = 1; step < 177; ++step)
            for (int slot = 1; slot <= song.messageCount(step); ++slot)
                if (const uint32_t m = song.at(step, slot); m & 0x80) {
                    expected.push_back({step * 155'000, {uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16)}});
                    if ((m & 0xE0) == 0xC0) expected.back().bytes.pop_back();
                }
        expected.push_back({177 * 155'000, {0xFF, 0x2F}});
        EXPECT_EQ(readMidiFile(songMidiFile(song)), expected) << *counters.solo;
    }
}

}  // namespace
}  // namespace pestrolik
