#include "music/voice_rotation.h"

#include <array>
#include <charconv>
#include <string>

namespace pestrolik {
namespace {

struct SoloChoice {
    uint8_t program, velocity;
};
struct BackgroundChoice {
    uint8_t program, velocity;
};
struct BassChoice {
    uint8_t program, lowerVelocity, upperVelocity;
};

// Row i belongs to counter value i; the last row is "other".
constexpr std::array<SoloChoice, 11> kSoloChoices{{
    {54, 100},   // Synth Voice
    {75, 100},   // Pan Flute
    {18, 100},   // Rock Organ
    {88, 100},   // Pad 1 (new age)
    {95, 81},    // Pad 8 (sweep)
    {16, 87},    // Drawbar Organ
    {17, 87},    // Percussive Organ
    {43, 55},    // Contrabass
    {72, 72},    // Piccolo
    {104, 72},   // Sitar
    {15, 100},   // other: Dulcimer
}};

constexpr std::array<BackgroundChoice, 12> kBackgroundChoices{{
    {51, 77},    // SynthStrings 2
    {91, 77},    // Pad 4 (choir)
    {85, 77},    // Lead 6 (voice)
    {102, 77},   // FX 7 (echoes)
    {16, 59},    // Drawbar Organ
    {52, 77},    // Choir Aahs
    {19, 62},    // Church Organ
    {44, 82},    // Tremolo Strings
    {64, 65},    // Soprano Sax
    {82, 72},    // Lead 3 (calliope)
    {88, 77},    // Pad 1 (new age)
    {51, 77},    // other: SynthStrings 2
}};

constexpr std::array<BassChoice, 8> kBassChoices{{
    {38, 77, 73},   // Synth Bass 1
    {34, 97, 97},   // Electric Bass (pick)
    {87, 63, 63},   // Lead 8 (bass + lead)
    {33, 77, 73},   // Electric Bass (finger)
    {28, 79, 79},   // Electric Guitar (muted)
    {48, 89, 89},   // String Ensemble 1
    {105, 77, 73},  // Banjo
    {38, 77, 73},   // other: Synth Bass 1
}};

// One row for each value a counter takes, then "other".
static_assert(kSoloChoices.size() == kSoloCounter.lastValue + 2);
static_assert(kBackgroundChoices.size() == kBackgroundCounter.lastValue + 2);
static_assert(kBassChoices.size() == kBassCounter.lastValue + 2);

template <typename Choice, size_t N>
const Choice& rowFor(const std::array<Choice, N>& table, std::optional<int> value) {
    return value ? table.at(static_cast<size_t>(*value)) : table.back();
}

// Decimal digits, optionally surrounded by blanks; anything else is unreadable.
std::optional<unsigned long long> parseCounterText(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    const char* const last = text.data() + text.size();
    unsigned long long value{};  // read whole or not used
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}

}  // namespace

std::optional<int> advanceVoiceCounter(SettingsStore& store, const VoiceCounter& counter) {
    const auto parsed = parseCounterText(store.get(kVoiceCounterSection, counter.key, "0"));
    std::optional<int> value;
    if (parsed && *parsed <= static_cast<unsigned long long>(counter.lastValue))
        value = static_cast<int>(*parsed);
    const int next = value && *value < counter.lastValue ? *value + 1 : 0;
    store.save(kVoiceCounterSection, counter.key, std::to_string(next));
    return value;
}

VoiceCounterValues advanceVoiceCounters(SettingsStore& store) {
    VoiceCounterValues values;
    values.solo = advanceVoiceCounter(store, kSoloCounter);
    values.background = advanceVoiceCounter(store, kBackgroundCounter);
    values.bass = advanceVoiceCounter(store, kBassCounter);
    return values;
}

SongVoices voicesFor(const VoiceCounterValues& values) {
    SongVoices voices;  // the drums keep their velocity
    const SoloChoice& solo = rowFor(kSoloChoices, values.solo);
    const BackgroundChoice& background = rowFor(kBackgroundChoices, values.background);
    const BassChoice& bass = rowFor(kBassChoices, values.bass);
    voices.soloProgram = solo.program;
    voices.soloVelocity = solo.velocity;
    voices.backgroundProgram = background.program;
    voices.backgroundVelocity = background.velocity;
    voices.bassProgram = bass.program;
    voices.bassLowerVelocity = bass.lowerVelocity;
    voices.bassUpperVelocity = bass.upperVelocity;
    return voices;
}

}  // namespace pestrolik
