#pragma once
// Builds the one song of the about screen: 14 bars of 12 steps and a coda, with the
// instruments of the voice counters. The notes never change; only programs and
// velocities do.

#include "common/settings_store.h"
#include "music/song_table.h"
#include "music/song_voices.h"

namespace pestrolik {

inline constexpr int kSongLastStep = 176;  // steps 170..176 are rests
inline constexpr int kSongEndStep = 177;   // empty: the player stops here

// Writes the song's cells with the given voices. Always the same cells, so writing
// over an earlier build leaves nothing of it but values that are replaced.
void writeSong(const SongVoices& voices, SongTable& table);

// Reads and advances the three voice counters in `store`, then writes the song with
// the voices they select. Returns those voices.
SongVoices buildSong(SettingsStore& store, SongTable& table);

}  // namespace pestrolik
