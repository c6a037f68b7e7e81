#include "music/fallback_midi_output.h"

#include "music/fluid_synth_output.h"
#include "music/rtmidi_output.h"

namespace pestrolik {

FallbackMidiOutput::FallbackMidiOutput(std::vector<std::unique_ptr<MidiOutput>> candidates)
    : candidates_(std::move(candidates)) {}

void FallbackMidiOutput::expectSong(const SongTable& song) {
    for (auto& candidate : candidates_) candidate->expectSong(song);
}

bool FallbackMidiOutput::open() {
    if (active_ != nullptr) return true;
    // Asked anew at every opening: a synthesizer may have been plugged in meanwhile.
    for (auto& candidate : candidates_) {
        if (candidate->open()) {
            active_ = candidate.get();
            return true;
        }
    }
    return false;
}

void FallbackMidiOutput::send(uint32_t packedMessage) {
    if (active_ != nullptr) active_->send(packedMessage);
}

void FallbackMidiOutput::close() {
    if (active_ == nullptr) return;
    active_->close();
    active_ = nullptr;
}

std::unique_ptr<MidiOutput> makeSystemMidiOutput(std::unique_ptr<MidiPorts> ports,
                                                 const std::filesystem::path& audioFile) {
    std::vector<std::unique_ptr<MidiOutput>> candidates;
    candidates.push_back(std::make_unique<RtMidiOutput>(std::move(ports)));
    candidates.push_back(std::make_unique<FluidSynthOutput>(audioFile));
    return std::make_unique<FallbackMidiOutput>(std::move(candidates));
}

}  // namespace pestrolik
