#pragma once
// The instruments and loudness of one build of the song. Programs are the values
// sent in the program-change data byte (General MIDI number minus 1).

#include <cstdint>

namespace pestrolik {

struct SongVoices {
    uint8_t backgroundProgram = 51;  // channel 1, chords
    uint8_t soloProgram = 54;        // channel 2, melody
    uint8_t bassProgram = 38;        // channel 4
    uint8_t backgroundVelocity = 77;
    uint8_t soloVelocity = 100;
    uint8_t bassLowerVelocity = 77;
    uint8_t bassUpperVelocity = 73;  // the note an octave above
    uint8_t drumVelocity = 100;

    bool operator==(const SongVoices&) const = default;
};

}  // namespace pestrolik
