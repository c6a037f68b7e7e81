// The step player against a recording output and a hand-driven timer; the song as a
// MIDI file, read back by a reader of its own, against what the player sends.

#include <gtest/gtest.h>

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
    void start(int intervalMilliseconds) override {
        running = true;
        interval = intervalMilliseconds;
    }
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
    RecordingMidiOutput output{false};
    ManualStepTimer timer;
    MusicPlayer player{song, output, timer};
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

struct Timed {
    int64_t microseconds;
    std::vector<uint8_t> bytes;
    bool operator==(const Timed&) const = default;
};

struct Heard {
    int format = -1, tracks = -1;
    std::vector<Timed> messages;
    int64_t endMicroseconds = -1;
};

// Just enough of the Standard MIDI File format: one track, channel messages each with
// its status, meta events (tempo read).
Heard readMidiFile(const std::string& file) {
    auto at = [&](size_t i) { return static_cast<uint8_t>(file.at(i)); };
    auto bigEndian = [&](size_t i, int n) { int64_t v = 0; while (n--) v = v << 8 | at(i++); return v; };
    Heard heard{static_cast<int>(bigEndian(8, 2)), static_cast<int>(bigEndian(10, 2)), {}};
    const int64_t division = bigEndian(12, 2);
    EXPECT_EQ(file.substr(0, 4) + file.substr(14, 4), "MThdMTrk");
    EXPECT_EQ(bigEndian(4, 4), 6);  // the header's length
    EXPECT_EQ(bigEndian(18, 4), static_cast<int64_t>(file.size()) - 22);
    int64_t tempo = 500000, time = 0;
    for (size_t i = 22; i < file.size() && heard.endMicroseconds < 0;) {
        int64_t delta = 0;
        do delta = delta << 7 | (at(i) & 0x7F); while (at(i++) & 0x80);
        time += delta * tempo;  // in microseconds × division
        if (at(i) == 0xFF) {
            if (at(i + 1) == 0x51) tempo = bigEndian(i + 3, 3);
            if (at(i + 1) == 0x2F) heard.endMicroseconds = time / division;
            i += 3 + at(i + 2);
            continue;
        }
        const size_t length = (at(i) & 0xE0) == 0xC0 ? 2 : 3;  // program and channel pressure: one data byte
        heard.messages.push_back({time / division, {file.begin() + i, file.begin() + i + length}});
        i += length;
    }
    return heard;
}

// The song's messages at the ticks that send them, as the player's test above has them:
// step n at n × 155 ms, the rest marker left out, the end at the 177th tick.
Heard tableHeard(const SongTable& song) {
    Heard heard{0, 1, {}, 177 * 155'000};
    for (int step = 1; step < 177; ++step)
        for (int slot = 1; slot <= song.messageCount(step); ++slot)
            if (const uint32_t m = song.at(step, slot); m & 0x80) {
                std::vector<uint8_t> bytes{uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16)};
                if ((m & 0xE0) == 0xC0) bytes.pop_back();  // a program change has one data byte
                heard.messages.push_back({step * 155'000, bytes});
            }
    return heard;
}

// The file holds what a MIDI output hears from the player, tick by tick, for voices
// that the counters choose, an unusable one included.
TEST(SongMidiFile, HoldsWhatThePlayerSendsWhenItSendsIt) {
    for (const VoiceCounterValues& counters : {VoiceCounterValues{0, 0, 0}, {9, 10, 6}, {7, std::nullopt, 3}}) {
        SongTable song;
        writeSong(voicesFor(counters), song);
        const std::vector<uint8_t> bytes = songMidiFile(song);
        const Heard file = readMidiFile(std::string(bytes.begin(), bytes.end()));
        const Heard expected = tableHeard(song);
        EXPECT_TRUE(file.format == 0 && file.tracks == 1);
        EXPECT_EQ(file.endMicroseconds, expected.endMicroseconds);
        EXPECT_EQ(file.messages, expected.messages) << *counters.solo;
    }
}

}  // namespace
}  // namespace pestrolik
