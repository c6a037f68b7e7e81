// The song as the synthesizer sounds it: the gain for a measured peak, and WAVE files
// whose peak, read back by a reader of their own, lies where the about screen aims.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "music/song_builder.h"
#include "music/song_sound.h"
#include "music/voice_rotation.h"

namespace pestrolik {
namespace {

TEST(SongSound, GainForAMeasuredPeak) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, double> peakAndGain[] = {
        {1.0, 0.7079}, {2.837, 0.2495}, {0.7079, 1.0}, {0.05, 10.0}, {0.0, 0.2}, {-1.0, 0.2}, {nan, 0.2},
    };
    for (const auto& [peak, gain] : peakAndGain) EXPECT_NEAR(gainForPeak(peak), gain, 1e-4) << peak;
}

struct Wave {
    int channels = 0, sampleRateHz = 0, bitsPerSample = 0;
    size_t frames = 0;
    int peak = 0;  // of the 16-bit samples
};

Wave readWave(const std::vector<uint8_t>& file) {
    auto little = [&](size_t at, int bytes) {
        uint32_t value = 0;
        while (bytes--) value = value << 8 | file.at(at + bytes);
        return value;
    };
    const std::string text(file.begin(), file.end());
    EXPECT_EQ(text.substr(0, 4) + text.substr(8, 8) + text.substr(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ(little(4, 4), file.size() - 8);
    EXPECT_EQ(little(20, 2), 1u);  // PCM
    EXPECT_EQ(little(40, 4), file.size() - 44);
    Wave wave{int(little(22, 2)), int(little(24, 4)), int(little(34, 2)), (file.size() - 44) / 4};
    for (size_t at = 44; at + 1 < file.size(); at += 2)
        wave.peak = std::max(wave.peak, std::abs(int(int16_t(little(at, 2)))));
    return wave;
}

// Loud and soft voices alike, with a small and a large sound font, peak at −3 dBFS
// through the end marker's tick, where the about screen closes the output.
TEST(SongSound, TheSongPeaksBelowFullScaleWithEverySoundFont) {
    int heard = 0;
    const std::pair<std::string, VoiceCounterValues> cases[] = {
        {"FluidR3_GM", {0, 0, 0}}, {"FluidR3_GM", {8, 8, 6}}, {"TimGM6mb", {0, 0, 0}},  // 13 dB apart at one gain
    };
    for (const auto& [font, voices] : cases) {
        const std::filesystem::path path = "/usr/share/sounds/sf2/" + font + ".sf2";
        if (!std::filesystem::exists(path)) continue;
        SongTable song;
        writeSong(voicesFor(voices), song);
        const auto file = songWaveFile(song, path);
        ASSERT_TRUE(file) << font;
        const Wave wave = readWave(*file);
        EXPECT_TRUE(wave.channels == 2 && wave.sampleRateHz == 44100 && wave.bitsPerSample == 16) << font;
        EXPECT_NEAR(wave.frames / 44100.0, 27.435, 1.0 / 44100) << font;
        EXPECT_NEAR(20 * std::log10(wave.peak / 32768.0), -3.0, 0.1) << font << " " << *voices.solo;
        ++heard;
    }
    if (heard == 0) GTEST_SKIP() << "no General MIDI sound font installed";
    EXPECT_FALSE(songWaveFile(SongTable{}, "/dev/null"));
}

}  // namespace
}  // namespace pestrolik
