#pragma once
// A MIDI short message packed into 32 bits the way the song table stores it: status
// byte in bits 0-7, first data byte in bits 8-15, second in bits 16-23.

#include <cstdint>

namespace pestrolik {

struct ShortMessage {
    uint8_t status{};
    uint8_t data1{};
    uint8_t data2{};
    // Bytes on the wire: 3 for note, controller and pitch-bend messages, 2 for program
    // and channel pressure, 0 for anything without a channel status byte (the rest
    // marker among them), which outputs skip.
    int length{};

    uint8_t kind() const { return status & 0xF0; }
    int channelIndex() const { return status & 0x0F; }  // MIDI channel minus 1
};

namespace midi {
constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kControlChange = 0xB0;
constexpr uint8_t kProgramChange = 0xC0;
constexpr uint8_t kChannelPressure = 0xD0;
constexpr uint8_t kPitchBend = 0xE0;
constexpr uint8_t kAllSoundOff = 120;  // controller number
constexpr uint8_t kAllNotesOff = 123;  // controller number
}  // namespace midi

constexpr uint32_t packShortMessage(uint8_t status, uint8_t data1, uint8_t data2 = 0) {
    return uint32_t{status} | uint32_t{data1} << 8 | uint32_t{data2} << 16;
}

ShortMessage decodeShortMessage(uint32_t packedMessage);

}  // namespace pestrolik
