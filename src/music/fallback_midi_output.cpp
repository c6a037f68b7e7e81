#include "music/fallback_midi_output.h"

#include "music/fluid_synth_output.h"
#include "music/rtmidi_output.h"

namespace pestrolik {

FallbackMidiOutput::FallbackMidiOutput(std::vector<std::unique_ptr<MidiOutput>> candidates)
    : candidates_(std::move(candidates)) {}

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

std::unique_ptr<MidiOutput> makeSystemMidiOutput() {
    std::vector<std::unique_ptr<MidiOutput>> candidates;
    candidates.push_back(std::make_unique<RtMidiOutput>());
    candidates.push_back(std::make_unique<FluidSynthOutput>());
    return std::make_unique<FallbackMidiOutput>(std::move(candidates));
}

}  // namespace pestrolik
