#pragma once
// The song as a Standard MIDI File, so any player can sound it without a MIDI device.

#include <cstdint>
#include <vector>

#include "music/music_player.h"
#include "music/song_table.h"

namespace pestrolik {

// Three steps to a quarter note, so the default 4/4 bars of a sequencer are the
// song's bars of 12 steps.
inline constexpr uint16_t kMidiFileTicksPerQuarter = 96;
inline constexpr uint32_t kMidiFileTicksPerStep = kMidiFileTicksPerQuarter / 3;
inline constexpr uint32_t kMidiFileMicrosecondsPerQuarter = 3 * kStepIntervalMilliseconds * 1000;

// A format-0 file of one track: every message the player sends for `song`, in its
// order, those of its n-th tick at n × 155 ms; messages without a status byte (the
// rest marker) are left out. The track ends at the tick that stops the player.
std::vector<uint8_t> songMidiFile(const SongTable& song);

}  // namespace pestrolik
