#pragma once
// A FluidSynth software synthesizer loaded with a General MIDI sound font found on
// the system. It only makes samples; FluidSynthOutput plays them through the sound
// card, and an offline render can pull them directly.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include <fluidsynth.h>

namespace pestrolik {

// The system's General MIDI sound font: FluidSynth's configured default, Debian's
// default-GM.sf2, then TimGM6mb.sf2 and FluidR3_GM.sf2. Empty when none exists.
std::optional<std::filesystem::path> findGeneralMidiSoundFont();

class GeneralMidiSynth {
public:
    // Sample rate in Hz; also used by an audio driver created on settings(). Without a
    // sound font the synthesizer is never ready.
    explicit GeneralMidiSynth(double sampleRateHz = 44100.0,
                              const std::optional<std::filesystem::path>& soundFont = findGeneralMidiSoundFont());
    ~GeneralMidiSynth();
    GeneralMidiSynth(const GeneralMidiSynth&) = delete;
    GeneralMidiSynth& operator=(const GeneralMidiSynth&) = delete;

    // False when no sound font could be loaded; then play() sounds nothing.
    bool ready() const { return soundFontId_ != FLUID_FAILED; }
    double sampleRateHz() const { return sampleRateHz_; }

    // Decodes a packed short message into the synthesizer's calls. A note-on with
    // velocity 0 is a note-off; anything without a channel status byte is ignored.
    void play(uint32_t packedMessage);
    // Cuts every sounding voice on every channel at once.
    void silence();
    // Scales everything rendered from now on; FluidSynth takes 0..10.
    void setGain(double gain);
    // Fills `interleavedStereo` (left, right, left, ...) with the next samples.
    void render(std::span<float> interleavedStereo);

    fluid_settings_t* settings() { return settings_; }
    fluid_synth_t* synth() { return synth_; }

private:
    double sampleRateHz_;
    fluid_settings_t* settings_;
    fluid_synth_t* synth_;
    int soundFontId_ = FLUID_FAILED;
};

}  // namespace pestrolik
