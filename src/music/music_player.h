#pragma once
// Plays the song table through a MIDI output, one step per timer tick.

#include "music/midi_output.h"
#include "music/song_table.h"
#include "music/step_timer.h"

namespace pestrolik {

// One step of the song: 12 steps make a bar of 1.86 s.
inline constexpr int kStepIntervalMilliseconds = 155;

class MusicPlayer {
public:
    // Borrows all three; they must outlive the player. Starts idle at step 1, slot 1,
    // without touching the timer.
    MusicPlayer(const SongTable& song, MidiOutput& output, StepTimer& timer);

    // Rewinds to step 1, opens the output and starts the timer, whether or not the
    // output opened. The first step sounds at the first tick.
    void startMusic();
    // Stops the timer and closes the output; the position stays. Harmless when idle.
    void stopMusic();
    // The timer's tick: at the end marker (slot 1 empty) stops the music; otherwise
    // sends the step's messages from the current slot on and moves to the next step.
    // Ignored while idle.
    void tick();

    bool isPlaying() const { return playing_; }
    int step() const { return step_; }
    int slot() const { return slot_; }

private:
    const SongTable& song_;
    MidiOutput& output_;
    StepTimer& timer_;
    bool playing_ = false;
    int step_{};  // 1..200 from startMusic on
    int slot_{};  // 1..20
};

}  // namespace pestrolik
