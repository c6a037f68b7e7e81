// The song as the synthesizer sounds it: the gain for a measured peak, and WAVE files
// whose peak, read back by a reader of their own, lies where the about screen aims.

#include <gtest/gtest.h>

#include <cmath>
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

// The peak of a 16-bit stereo PCM file at 44.1 kHz without extra chunks, checking its
// header on the way, and its length: up to the tick of the end marker.
int wavePeak(const std::vector<uint8_t>& file) {
    auto little = [&](size_t at, int bytes) {
        uint32_t value = 0;
        while (bytes--) value = value << 8 | file.at(at + bytes);
        return value;
    };
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 16), "WAVEfmt ");
    EXPECT_TRUE(little(4, 4) == file.size() - 8 && little(40, 4) == file.size() - 44);
    EXPECT_TRUE(little(20, 2) == 1 && little(22, 2) == 2 && little(24, 4) == 44100 && little(28, 4) == 4 * 44100 &&
                little(32, 2) == 4 && little(34, 2) == 16);
    EXPECT_NEAR((file.size() - 44) / 4 / 44100.0, 27.435, 1.0 / 44100);
    int peak[2] = {};  // left, right
    for (size_t at = 44; at + 1 < file.size(); at += 2) peak[at / 2 % 2] = std::max(peak[at / 2 % 2], std::abs(int(int16_t(little(at, 2)))));
    EXPECT_GT(std::min(peak[0], peak[1]), 1000) << "both channels sound";
    return std::max(peak[0], peak[1]);
}

// Loud and soft voices alike, with a small and a large sound font, peak at −3 dBFS.
TEST(SongSound, TheSongPeaksBelowFullScaleWithEverySoundFont) {
    const std::pair<std::string, VoiceCounterValues> cases[] = {
        {"FluidR3_GM", {0, 0, 0}}, {"FluidR3_GM", {8, 8, 6}}, {"TimGM6mb", {0, 0, 0}},  // 13 dB apart at one gain
    };
    for (const auto& [font, voices] : cases) {
        SongTable song;
        writeSong(voicesFor(voices), song);
        const auto file = songWaveFile(song, "/usr/share/sounds/sf2/" + font + ".sf2");
        ASSERT_TRUE(file) << font << " not installed";
        EXPECT_NEAR(20 * std::log10(wavePeak(*file) / 32768.0), -3.0, 0.1) << font << " " << *voices.solo;
    }
    EXPECT_FALSE(songWaveFile(SongTable{}, "/dev/null"));
}

}  // namespace
}  // namespace pestrolik
