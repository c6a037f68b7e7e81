#include "music/fluid_synth_output.h"

#include "music/song_sound.h"

namespace pestrolik {

FluidSynthOutput::FluidSynthOutput(std::filesystem::path audioFile) : audioFile_(std::move(audioFile)) {}

FluidSynthOutput::~FluidSynthOutput() {
    close();
}

bool FluidSynthOutput::open() {
    if (synth_) return true;
    const auto soundFont = findGeneralMidiSoundFont();
    if (!soundFont) return false;
    auto synth = std::make_unique<GeneralMidiSynth>(kSongSampleRateHz, *soundFont);
    if (!synth->ready()) return false;
    if (!audioFile_.empty()) {
        fluid_settings_setstr(synth->settings(), "audio.driver", "file");
        fluid_settings_setstr(synth->settings(), "audio.file.name", audioFile_.c_str());
    }
    audio_ = new_fluid_audio_driver(synth->settings(), synth->synth());
    if (audio_ == nullptr) return false;
    // Measured once the sound card is known to open. Sound fonts, and the voices within
    // one, differ in loudness by more than 10 dB.
    if (song_ != nullptr) synth->setGain(songGain(*song_, *soundFont));
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
