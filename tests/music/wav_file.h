#pragma once
// Writes interleaved stereo float samples as a 16-bit PCM WAV file, for listening
// to a render or measuring it with other tools.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <span>
#include <string>

namespace pestrolik {

inline bool writeStereoWav(const std::string& path, std::span<const float> interleaved, int sampleRateHz) {
    std::ofstream file(path, std::ios::binary);
    auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) file.put(static_cast<char>(value >> (8 * i) & 0xFF));
    };
    const uint32_t dataBytes = static_cast<uint32_t>(interleaved.size() * 2);
    file.write("RIFF", 4);
    put(36 + dataBytes, 4);
    file.write("WAVEfmt ", 8);
    put(16, 4);                  // fmt chunk size
    put(1, 2);                   // PCM
    put(2, 2);                   // channels
    put(sampleRateHz, 4);
    put(sampleRateHz * 4, 4);    // bytes per second
    put(4, 2);                   // bytes per frame
    put(16, 2);                  // bits per sample
    file.write("data", 4);
    put(dataBytes, 4);
    for (float sample : interleaved) {
        const long value = std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
        put(static_cast<uint32_t>(static_cast<int16_t>(value)) & 0xFFFF, 2);
    }
    return static_cast<bool>(file);
}

}  // namespace pestrolik
