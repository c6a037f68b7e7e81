#pragma once
// The instruments and loudness of one build of the song. Programs are the values
// sent in the program-change data byte (General MIDI number minus 1).

#include <cstdint>

namespace pestrolik {

struct SongVoices {
    // Chosen by the voice counters at every build.
    uint8_t backgroundProgram{};  // channel 1, chords
    uint8_t soloProgram{};        // channel 2, melody
    uint8_t bassProgram{};        // channel 4
    uint8_t backgroundVelocity{};
    uint8_t soloVelocity{};
    uint8_t bassLowerVelocity{};
    uint8_t bassUpperVelocity{};  // the note an octave above
    // The same in every build.
    uint8_t drumVelocity = 100;

    bool operator==(const SongVoices&) const = default;
};

}  // namespace pestrolik
