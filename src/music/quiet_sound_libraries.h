#pragma once
// The program has no log and must print nothing on a machine without sound or MIDI
// devices, but ALSA, FluidSynth and RtMidi all write their complaints to the terminal.

#include <streambuf>

namespace pestrolik {

// Turns off the diagnostics that ALSA and FluidSynth print on their own. Process-wide
// and permanent; safe to call any number of times.
void quietSoundLibraries();

// While alive, everything written to std::cerr (where RtMidi reports errors it
// raises before an error callback can be installed) is dropped.
class QuietStandardError {
public:
    QuietStandardError();
    ~QuietStandardError();
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    class Discard : public std::streambuf {
    protected:
        int overflow(int c) override { return traits_type::not_eof(c); }
    };
    Discard discard_;
    std::streambuf* previous_;
};

}  // namespace pestrolik
