// The whole song rendered offline through the same synthesizer and message decoding
// the program plays with, one timer interval of samples per step. Set
// PESTROLIK_SONG_WAV=<file> to keep the render as a WAV file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "music/general_midi_synth.h"
#include "manual_step_timer.h"
#include "music/music_player.h"
#include "music/song_builder.h"
#include "wav_file.h"

namespace pestrolik {
namespace {

constexpr int kSampleRateHz = 48000;
constexpr int kFramesPerStep = kSampleRateHz * kStepIntervalMilliseconds / 1000;  // 7440, exact

// The player's output, rendering instead of playing: closing cuts the sound, as
// freeing the live synthesizer does.
class RenderingOutput : public MidiOutput {
public:
    explicit RenderingOutput(GeneralMidiSynth& synth) : synth_(synth) {}
    bool open() override { return synth_.ready(); }
    void send(uint32_t packedMessage) override { synth_.play(packedMessage); }
    void close() override { synth_.silence(); }

private:
    GeneralMidiSynth& synth_;
};

struct Level {
    double rms = 0, peak = 0;
};

Level levelOf(std::span<const float> samples) {
    Level level;
    for (float s : samples) {
        level.rms += double{s} * s;
        level.peak = std::max(level.peak, double{std::fabs(s)});
    }
    level.rms = samples.empty() ? 0 : std::sqrt(level.rms / samples.size());
    return level;
}

// Renders from StartMusic until the player stops itself: the silent interval before
// the first tick, then one interval after each tick that leaves it playing.
struct Render {
    std::vector<float> samples;
    int ticks = 0;
};

Render renderSong() {
    MemorySettingsStore store;
    SongTable song;
    buildSong(store, song);
    GeneralMidiSynth synth(kSampleRateHz);
    EXPECT_TRUE(synth.ready()) << "no General MIDI sound font installed";
    RenderingOutput output(synth);
    ManualStepTimer timer;
    MusicPlayer player(song, output, timer);

    Render render;
    std::vector<float> interval(2 * kFramesPerStep);
    auto renderInterval = [&] {
        synth.render(interval);
        render.samples.insert(render.samples.end(), interval.begin(), interval.end());
    };
    player.startMusic();
    renderInterval();
    while (player.isPlaying() && render.ticks < 1000) {
        player.tick();
        ++render.ticks;
        if (player.isPlaying()) renderInterval();
    }
    return render;
}

std::span<const float> steps(const std::vector<float>& samples, int firstInterval, int count) {
    return std::span<const float>(samples).subspan(size_t(2) * kFramesPerStep * firstInterval,
                                                    size_t(2) * kFramesPerStep * count);
}

TEST(SongRender, AudibleForItsWholeLengthAndSilentBeforeTheFirstStep) {
    const Render render = renderSong();
    const std::vector<float>& samples = render.samples;
    if (const char* path = std::getenv("PESTROLIK_SONG_WAV")) {
        EXPECT_TRUE(writeStereoWav(path, samples, kSampleRateHz)) << path;
    }

    EXPECT_EQ(render.ticks, 177);
    // 155 ms before the first step, then 176 steps: 27.435 s.
    EXPECT_EQ(samples.size(), size_t(2) * kFramesPerStep * 177);
    EXPECT_LT(levelOf(steps(samples, 0, 1)).peak, 1e-6);  // the reverb's anti-denormal offset only

    for (int bar = 1; bar <= 14; ++bar) {
        const Level level = levelOf(steps(samples, 1 + 12 * (bar - 1), 12));
        EXPECT_GT(level.rms, 0.02) << "bar " << bar;
        EXPECT_LT(level.peak, 1.0) << "bar " << bar;  // no clipping
    }
    // The coda's crash still rings into the rests.
    EXPECT_GT(levelOf(steps(samples, 169, 1)).rms, 0.002);
}

}  // namespace
}  // namespace pestrolik
