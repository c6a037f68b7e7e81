#pragma once
// The three voice counters kept in the settings store (section "met2"). Every build
// reads them and stores their next values, so each build sounds with other instruments.

#include <optional>
#include <string_view>

#include "common/settings_store.h"
#include "music/song_voices.h"

namespace pestrolik {

struct VoiceCounter {
    std::string_view key;  // in section "met2"
    int lastValue;         // after this the counter starts again at 0
};

inline constexpr std::string_view kVoiceCounterSection = "met2";
inline constexpr VoiceCounter kSoloCounter{"sol", 9};
inline constexpr VoiceCounter kBackgroundCounter{"fon", 10};
inline constexpr VoiceCounter kBassCounter{"bas", 6};

// The counter values one build uses; empty where the stored text was not a number
// of the counter's range, which selects the instrument table's "other" row.
struct VoiceCounterValues {
    std::optional<int> solo;
    std::optional<int> background;
    std::optional<int> bass;
};

// Reads one counter (missing = 0) and stores its next value as decimal text. An
// unreadable or out-of-range value restarts the rotation: "0" is stored.
std::optional<int> advanceVoiceCounter(SettingsStore& store, const VoiceCounter& counter);

// Reads and advances solo, background and bass, in that order.
VoiceCounterValues advanceVoiceCounters(SettingsStore& store);

// Programs and velocities for the counter values (as advanceVoiceCounters gives them:
// none past its counter's last value), from the three instrument tables.
SongVoices voicesFor(const VoiceCounterValues& values);

}  // namespace pestrolik
