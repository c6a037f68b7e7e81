#pragma once
// Tries several outputs in turn at every opening and plays through the first that
// opens; silent when none does.

#include <filesystem>
#include <memory>
#include <vector>

#include "music/midi_output.h"
#include "music/midi_ports.h"

namespace pestrolik {

class FallbackMidiOutput : public MidiOutput {
public:
    // Candidates in order of preference; the fallback owns them.
    explicit FallbackMidiOutput(std::vector<std::unique_ptr<MidiOutput>> candidates);

    void expectSong(const SongTable& song) override;
    bool open() override;
    void send(uint32_t packedMessage) override;
    void close() override;

private:
    std::vector<std::unique_ptr<MidiOutput>> candidates_;
    MidiOutput* active_ = nullptr;  // the candidate that opened; null while closed or silent
};

// What the program plays through: the system's MIDI port (RtMidi, or `ports` in its
// place), else FluidSynth on the sound card (into `audioFile` when one is named), else
// silence.
std::unique_ptr<MidiOutput> makeSystemMidiOutput(std::unique_ptr<MidiPorts> ports = makeRtMidiPorts(),
                                                 const std::filesystem::path& audioFile = {});

}  // namespace pestrolik
