#pragma once
// The software synthesizer for machines without a MIDI port: FluidSynth with a
// General MIDI sound font, through the default audio driver.

#include <memory>

#include "music/general_midi_synth.h"
#include "music/midi_output.h"

namespace pestrolik {

class FluidSynthOutput : public MidiOutput {
public:
    FluidSynthOutput();
    ~FluidSynthOutput() override;

    // Loads the sound font and opens the sound card; false when either is missing.
    bool open() override;
    void send(uint32_t packedMessage) override;
    // Stops the audio and frees the synthesizer with its sound font.
    void close() override;

private:
    std::unique_ptr<GeneralMidiSynth> synth_;  // null while closed
    fluid_audio_driver_t* audio_ = nullptr;
};

}  // namespace pestrolik
