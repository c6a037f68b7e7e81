#include "music/general_midi_synth.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "music/quiet_sound_libraries.h"
#include "music/short_message.h"

namespace pestrolik {

std::optional<std::filesystem::path> findGeneralMidiSoundFont() {
    std::vector<std::filesystem::path> candidates;
    quietSoundLibraries();
    if (fluid_settings_t* settings = new_fluid_settings()) {
        char* configured = nullptr;
        if (fluid_settings_getstr_default(settings, "synth.default-soundfont", &configured) == FLUID_OK &&
            configured != nullptr && *configured != '\0')
            candidates.emplace_back(configured);
        delete_fluid_settings(settings);
    }
    for (const char* path : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                             "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2"})
        candidates.emplace_back(path);
    for (const auto& candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) return candidate;
    }
    return std::nullopt;
}

GeneralMidiSynth::GeneralMidiSynth(double sampleRateHz, const std::optional<std::filesystem::path>& soundFont)
    : sampleRateHz_(sampleRateHz) {
    quietSoundLibraries();
    settings_ = new_fluid_settings();
    fluid_settings_setnum(settings_, "synth.sample-rate", sampleRateHz);
    // A large sound font (FluidR3 has 141 MiB) loads in seconds; the song needs four presets.
    fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    synth_ = new_fluid_synth(settings_);
    // Checked first: the DLS loader complains on the terminal about anything else.
    if (synth_ != nullptr && soundFont && fluid_is_soundfont(soundFont->c_str()))
        soundFontId_ = fluid_synth_sfload(synth_, soundFont->c_str(), 1);
}

GeneralMidiSynth::~GeneralMidiSynth() {
    if (synth_ != nullptr) delete_fluid_synth(synth_);
    if (settings_ != nullptr) delete_fluid_settings(settings_);
}

void GeneralMidiSynth::play(uint32_t packedMessage) {
    if (synth_ == nullptr) return;
    const ShortMessage message = decodeShortMessage(packedMessage);
    const int channel = message.channelIndex();
    switch (message.length == 0 ? 0 : message.kind()) {
    case midi::kNoteOn:
        if (message.data2 != 0) {
            fluid_synth_noteon(synth_, channel, message.data1, message.data2);
            break;
        }
        [[fallthrough]];
    case midi::kNoteOff:
        fluid_synth_noteoff(synth_, channel, message.data1);
        break;
    case midi::kControlChange:
        fluid_synth_cc(synth_, channel, message.data1, message.data2);
        break;
    case midi::kProgramChange:
        fluid_synth_program_change(synth_, channel, message.data1);
        break;
    case midi::kChannelPressure:
        fluid_synth_channel_pressure(synth_, channel, message.data1);
        break;
    case midi::kPitchBend:
        fluid_synth_pitch_bend(synth_, channel, message.data1 | message.data2 << 7);
        break;
    default:
        break;
    }
}

void GeneralMidiSynth::silence() {
    if (synth_ != nullptr) fluid_synth_all_sounds_off(synth_, -1);
}

void GeneralMidiSynth::setGain(double gain) {
    if (synth_ != nullptr) fluid_synth_set_gain(synth_, static_cast<float>(gain));
}

void GeneralMidiSynth::render(std::span<float> interleavedStereo) {
    const int frames = static_cast<int>(interleavedStereo.size() / 2);
    if (synth_ == nullptr) {
        std::fill(interleavedStereo.begin(), interleavedStereo.end(), 0.0f);
        return;
    }
    float* samples = interleavedStereo.data();
    fluid_synth_write_float(synth_, frames, samples, 0, 2, samples, 1, 2);
}

}  // namespace pestrolik
