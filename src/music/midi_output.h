#pragma once
// Where the song's packed short messages go. Every failure is silent: a missing or
// broken output just makes the about screen quiet.

#include <cstdint>

namespace pestrolik {

class SongTable;

class MidiOutput {
public:
    virtual ~MidiOutput() = default;
    // Told before open() what will be played, so an output that makes its own sound
    // can set its level by it. `song` outlives the playing.
    virtual void expectSong(const SongTable& song) { (void)song; }
    // Makes the output ready to sound General MIDI on channels 1..16. True when it can
    // sound; the player ignores the answer. Opening an open output keeps it as it is.
    virtual bool open() = 0;
    // Sounds one message at once (status byte in bits 0-7, data bytes in 8-15 and
    // 16-23). Messages without a status byte, such as the rest marker, are dropped;
    // so is everything while the output is not open.
    virtual void send(uint32_t packedMessage) = 0;
    // Silences every sounding note and releases the output. Harmless when already
    // closed or never opened.
    virtual void close() = 0;
};

}  // namespace pestrolik
