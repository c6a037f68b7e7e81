#pragma once
// The software synthesizer for machines without a MIDI port: FluidSynth with a
// General MIDI sound font, through the sound card or into a file.

#include <filesystem>
#include <memory>

#include "music/general_midi_synth.h"
#include "music/midi_output.h"

namespace pestrolik {

class FluidSynthOutput : public MidiOutput {
public:
    // With an `audioFile`, FluidSynth's file driver writes the sound there instead of
    // the sound card (for machines without one, and tests).
    explicit FluidSynthOutput(std::filesystem::path audioFile = {});
    ~FluidSynthOutput() override;

    void expectSong(const SongTable& song) override { song_ = &song; }
    // Loads the sound font, at the gain that makes the expected song peak at
    // kSongPeakTarget with it, and starts the audio; false when either is missing.
    bool open() override;
    void send(uint32_t packedMessage) override;
    // Stops the audio and frees the synthesizer with its sound font.
    void close() override;

private:
    std::filesystem::path audioFile_;
    const SongTable* song_ = nullptr;
    std::unique_ptr<GeneralMidiSynth> synth_;  // null while closed
    fluid_audio_driver_t* audio_ = nullptr;
};

}  // namespace pestrolik
