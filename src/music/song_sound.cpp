#include "music/song_sound.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "music/midi_output.h"
#include "music/music_player.h"
#include "music/step_timer.h"

namespace pestrolik {
namespace {

// Hands the player's messages straight to the synthesizer; the render loop is the clock.
class SynthFeed : public MidiOutput, public StepTimer {
public:
    explicit SynthFeed(GeneralMidiSynth& synth) : synth_(synth) {}
    bool open() override { return true; }
    void send(uint32_t packedMessage) override { synth_.play(packedMessage); }
    void close() override { synth_.silence(); }
    void start(int) override {}
    void stop() override {}

private:
    GeneralMidiSynth& synth_;
};

void putLittleEndian(std::vector<uint8_t>& out, uint32_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i) out.push_back(static_cast<uint8_t>(value >> 8 * i));
}

}  // namespace

double gainForPeak(double peakAtUnitGain) {
    if (!(peakAtUnitGain > 0.0)) return kSynthGainSilent;
    return std::min(kSongPeakTarget / peakAtUnitGain, kSynthGainAtMost);
}

double peakAmplitude(std::span<const float> samples) {
    float peak = 0.0f;
    for (float sample : samples) peak = std::max(peak, std::abs(sample));
    return peak;
}

std::vector<float> renderSong(const SongTable& song, GeneralMidiSynth& synth) {
    SynthFeed feed(synth);
    MusicPlayer player(song, feed, feed);
    std::vector<float> samples;
    player.startMusic();
    for (int64_t tick = 1; player.isPlaying(); ++tick) {
        // Counted from the start, so the steps do not drift by rounding.
        const double seconds = tick * kStepIntervalMilliseconds / 1000.0;
        const auto frames = static_cast<size_t>(std::llround(seconds * synth.sampleRateHz()));
        const size_t done = samples.size();
        samples.resize(2 * frames);
        synth.render(std::span(samples).subspan(done));
        player.tick();
    }
    return samples;
}

double songGain(const SongTable& song, const std::filesystem::path& soundFont) {
    GeneralMidiSynth synth(kSongSampleRateHz, soundFont);
    synth.setGain(1.0);
    return gainForPeak(peakAmplitude(renderSong(song, synth)));
}

std::vector<uint8_t> waveFile(std::span<const float> interleavedStereo, int sampleRateHz) {
    const auto dataBytes = static_cast<uint32_t>(interleavedStereo.size() * 2);
    std::vector<uint8_t> file{'R', 'I', 'F', 'F'};
    putLittleEndian(file, 36 + dataBytes, 4);
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLittleEndian(file, 16, 4);                     // format chunk length
    putLittleEndian(file, 1, 2);                      // PCM
    putLittleEndian(file, 2, 2);                      // channels
    putLittleEndian(file, sampleRateHz, 4);
    putLittleEndian(file, sampleRateHz * 2 * 2, 4);   // bytes per second
    putLittleEndian(file, 2 * 2, 2);                  // bytes per frame
    putLittleEndian(file, 16, 2);                     // bits per sample
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    putLittleEndian(file, dataBytes, 4);
    for (float sample : interleavedStereo) {
        const long value = std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
        putLittleEndian(file, static_cast<uint16_t>(static_cast<int16_t>(value)), 2);
    }
    return file;
}

std::optional<std::vector<uint8_t>> songWaveFile(const SongTable& song, const std::filesystem::path& soundFont) {
    GeneralMidiSynth synth(kSongSampleRateHz, soundFont);
    if (!synth.ready()) return std::nullopt;
    synth.setGain(songGain(song, soundFont));
    return waveFile(renderSong(song, synth), static_cast<int>(kSongSampleRateHz));
}

}  // namespace pestrolik
