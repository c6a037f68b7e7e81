#include "music/quiet_sound_libraries.h"

#include <iostream>
#include <mutex>

#include <fluidsynth.h>

#ifdef PESTROLIK_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace pestrolik {
namespace {

void dropFluidMessage(int, const char*, void*) {}

#ifdef PESTROLIK_HAVE_ALSA
void dropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
#endif

}  // namespace

void quietSoundLibraries() {
    static std::once_flag done;
    std::call_once(done, [] {
        for (int level = 0; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, dropFluidMessage, nullptr);
#ifdef PESTROLIK_HAVE_ALSA
        // Both RtMidi's sequencer client and FluidSynth's PCM driver go through alsa-lib.
        snd_lib_error_set_handler(dropAlsaMessage);
#endif
    });
}

QuietStandardError::QuietStandardError() : previous_(std::cerr.rdbuf(&discard_)) {}

QuietStandardError::~QuietStandardError() {
    std::cerr.rdbuf(previous_);
}

}  // namespace pestrolik
