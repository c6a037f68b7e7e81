#pragma once
// The system's MIDI output through RtMidi (the ALSA sequencer on Linux): the first
// output port that leads somewhere.

#include <memory>

#include "music/midi_output.h"
#include "music/midi_ports.h"

namespace pestrolik {

class RtMidiOutput : public MidiOutput {
public:
    RtMidiOutput();  // through RtMidi itself
    explicit RtMidiOutput(std::unique_ptr<MidiPorts> ports);
    ~RtMidiOutput() override;

    // False when the MIDI system is missing or offers no port but the loopback
    // ("Midi Through"), which would swallow the song.
    bool open() override;
    void send(uint32_t packedMessage) override;
    // Sends all-notes-off and all-sound-off on every channel before closing, since an
    // external synthesizer keeps sounding after the port goes away.
    void close() override;

private:
    std::unique_ptr<MidiPorts> ports_;
    bool open_ = false;
};

}  // namespace pestrolik
