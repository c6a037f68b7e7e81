#include "music/song_builder.h"

#include <array>
#include <cstdint>

#include "music/short_message.h"
#include "music/voice_rotation.h"

namespace pestrolik {
namespace {

constexpr int kBarCount = 14;
constexpr int kStepsPerBar = 12;
constexpr int kCodaStep = kBarCount * kStepsPerBar + 1;  // 169

// Status bytes: the channel (from 1) minus 1 sits in the low four bits.
constexpr uint8_t kBackgroundChannel = 0;  // channel 1
constexpr uint8_t kSoloChannel = 1;        // channel 2
constexpr uint8_t kBassChannel = 3;        // channel 4
constexpr uint8_t kDrumChannel = 9;        // channel 10, General MIDI percussion

// General MIDI percussion keys, in the order a step sends them.
constexpr std::array<uint8_t, 4> kDrumKeys{36, 44, 57, 38};  // bass drum, pedal hi-hat, crash 2, snare
enum DrumBits : unsigned { kBassDrum = 1, kHiHat = 2, kCrash = 4, kSnare = 8 };

// Indexed by the step within the bar, s1..s12 at 0..11.
constexpr std::array<unsigned, kStepsPerBar> kDrumPattern{
    kBassDrum | kHiHat, kHiHat, 0,         kSnare, kHiHat, kHiHat,
    kBassDrum | kHiHat, kHiHat, kBassDrum, kSnare, kHiHat, kHiHat};
constexpr std::array<int, kStepsPerBar> kBassOffsets{0, 7, 0, 12, 7, 12, 0, 7, 0, 12, 7, 12};

struct DrumAddition {
    int bar, stepInBar;
    unsigned drums;
};
constexpr std::array<DrumAddition, 9> kDrumAdditions{{
    {4, 12, kSnare},
    {8, 11, kSnare}, {8, 12, kSnare},
    {9, 1, kCrash},
    {12, 11, kSnare},
    {14, 8, kSnare}, {14, 9, kSnare}, {14, 11, kSnare}, {14, 12, kSnare},
}};

struct SoloEvent {
    int stepInBar = 0;         // 0: no event
    bool allNotesOff = false;  // channel 2 silenced first
    uint8_t note = 0;          // 0: no new note
};

struct Bar {
    std::array<uint8_t, 3> chord;  // struck at s1, in this order
    std::array<uint8_t, 2> changeAtS7;  // released, then struck at s7; none when {}
    int bassRoot;
    std::array<SoloEvent, 4> solo;  // at most four events a bar
};

constexpr std::array<Bar, kBarCount> kBars{{
    {{65, 60, 56}, {}, 29, {{{4, false, 77}, {7, true, 80}, {10, true, 77}}}},
    {{63, 58, 55}, {}, 27, {{{1, true, 79}, {7, true, 77}, {10, true, 75}}}},
    {{62, 58, 53}, {}, 34, {{{1, true, 77}}}},
    {{63, 58, 53}, {63, 62}, 34, {{{10, true, 0}}}},
    {{61, 56, 53}, {}, 25, {{{1, true, 0}, {4, false, 77}, {7, true, 79}, {10, true, 80}}}},
    {{60, 56, 51}, {}, 32, {{{1, true, 75}, {7, true, 72}, {10, true, 68}}}},
    {{63, 58, 55}, {}, 27, {{{1, true, 70}}}},
    {{63, 58, 56}, {56, 55}, 27, {{{10, true, 0}}}},
    {{61, 56, 53}, {}, 25, {{{4, false, 68}, {7, true, 70}, {10, true, 71}}}},
    {{63, 58, 55}, {}, 27, {{{1, true, 72}, {7, true, 70}, {10, true, 75}}}},
    {{63, 60, 56}, {}, 32, {{{1, true, 72}, {10, true, 68}}}},
    {{61, 56, 53}, {}, 25, {{{1, true, 77}, {4, true, 75}, {10, true, 68}}}},
    {{60, 55, 52}, {}, 24, {{{1, true, 72}}}},
    {{65, 60, 55}, {65, 64}, 24, {{{10, true, 0}}}},
}};

// The bass steps up a whole tone at s7 of these bars, its upper note staying put.
constexpr bool bassLeansUp(int bar, int stepInBar) {
    return stepInBar == 7 && (bar == 5 || bar == 9);
}

// Appends messages to one step from slot 1 on.
class StepWriter {
public:
    StepWriter(SongTable& table, int step) : table_(table), step_(step) {}
    void add(uint32_t message) { table_.set(step_, ++slot_, message); }
    void noteOn(uint8_t channel, uint8_t note, uint8_t velocity) {
        add(packShortMessage(midi::kNoteOn | channel, note, velocity));
    }
    void allNotesOff(uint8_t channel) {
        add(packShortMessage(midi::kControlChange | channel, midi::kAllNotesOff, 0));
    }
    void program(uint8_t channel, uint8_t program) {
        add(packShortMessage(midi::kProgramChange | channel, program));
    }

private:
    SongTable& table_;
    int step_;
    int slot_ = 0;
};

SoloEvent soloEventAt(int bar, int stepInBar) {
    for (const SoloEvent& event : kBars[bar - 1].solo)
        if (event.stepInBar == stepInBar) return event;
    return {};
}

unsigned drumsAt(int bar, int stepInBar) {
    unsigned drums = kDrumPattern[stepInBar - 1];
    for (const DrumAddition& addition : kDrumAdditions)
        if (addition.bar == bar && addition.stepInBar == stepInBar) drums |= addition.drums;
    return drums;
}

void writeBarStep(const SongVoices& voices, int bar, int stepInBar, SongTable& table) {
    const int step = (bar - 1) * kStepsPerBar + stepInBar;
    const Bar& notes = kBars[bar - 1];
    const SoloEvent solo = soloEventAt(bar, stepInBar);
    StepWriter writer(table, step);

    if (step == 1) {
        writer.program(kBackgroundChannel, voices.backgroundProgram);
        writer.program(kBassChannel, voices.bassProgram);
        writer.program(kSoloChannel, voices.soloProgram);
    } else {
        // The bass never rings into the next step.
        writer.allNotesOff(kBassChannel);
    }
    if (stepInBar == 1 && bar > 1) writer.allNotesOff(kBackgroundChannel);
    if (solo.allNotesOff) writer.allNotesOff(kSoloChannel);

    const unsigned drums = drumsAt(bar, stepInBar);
    for (size_t i = 0; i < kDrumKeys.size(); ++i)
        if (drums & 1u << i) writer.noteOn(kDrumChannel, kDrumKeys[i], voices.drumVelocity);

    if (stepInBar == 1) {
        for (uint8_t note : notes.chord) writer.noteOn(kBackgroundChannel, note, voices.backgroundVelocity);
    } else if (stepInBar == 7 && notes.changeAtS7[0] != 0) {
        writer.noteOn(kBackgroundChannel, notes.changeAtS7[0], 0);  // velocity 0 releases
        writer.noteOn(kBackgroundChannel, notes.changeAtS7[1], voices.backgroundVelocity);
    }

    const int upper = notes.bassRoot + kBassOffsets[stepInBar - 1] + 12;
    const int lower = bassLeansUp(bar, stepInBar) ? notes.bassRoot + 2 : upper - 12;
    writer.noteOn(kBassChannel, static_cast<uint8_t>(lower), voices.bassLowerVelocity);
    writer.noteOn(kBassChannel, static_cast<uint8_t>(upper), voices.bassUpperVelocity);

    if (solo.note != 0) writer.noteOn(kSoloChannel, solo.note, voices.soloVelocity);
}

void writeCoda(const SongVoices& voices, SongTable& table) {
    StepWriter writer(table, kCodaStep);
    writer.noteOn(kDrumChannel, 57, voices.drumVelocity);
    writer.allNotesOff(kBackgroundChannel);
    writer.allNotesOff(kBassChannel);
    writer.allNotesOff(kSoloChannel);
    for (int step = kCodaStep + 1; step <= kSongLastStep; ++step)
        table.set(step, 1, SongTable::kRestMarker);
}

}  // namespace

void writeSong(const SongVoices& voices, SongTable& table) {
    for (int bar = 1; bar <= kBarCount; ++bar)
        for (int stepInBar = 1; stepInBar <= kStepsPerBar; ++stepInBar)
            writeBarStep(voices, bar, stepInBar, table);
    writeCoda(voices, table);
}

SongVoices buildSong(SettingsStore& store, SongTable& table) {
    const SongVoices voices = voicesFor(advanceVoiceCounters(store));
    writeSong(voices, table);
    return voices;
}

}  // namespace pestrolik
