#include "music/fluid_synth_output.h"

namespace pestrolik {

FluidSynthOutput::FluidSynthOutput() = default;

FluidSynthOutput::~FluidSynthOutput() {
    close();
}

bool FluidSynthOutput::open() {
    if (synth_) return true;
    auto synth = std::make_unique<GeneralMidiSynth>();
    if (!synth->ready()) return false;
    audio_ = new_fluid_audio_driver(synth->settings(), synth->synth());
    if (audio_ == nullptr) return false;
    synth_ = std::move(synth);
    return true;
}

void FluidSynthOutput::send(uint32_t packedMessage) {
    if (synth_) synth_->play(packedMessage);
}

void FluidSynthOutput::close() {
    if (!synth_) return;
    synth_->silence();
    delete_fluid_audio_driver(audio_);  // the driver's thread renders from the synth
    audio_ = nullptr;
    synth_.reset();
}

}  // namespace pestrolik
