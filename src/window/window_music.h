#pragma once
// The about screen's music as the window owns it: the song table, the player and
// Timer3 pacing it. The MIDI output is a platform service handed in.

#include "music/midi_output.h"
#include "music/music_player.h"
#include "common/settings_store.h"
#include "music/song_table.h"
#include "music/step_timer.h"

class QTimer;

namespace pestrolik {

class WindowMusic {
public:
    // `timer3` (the window's) drives the steps; all three outlive this.
    WindowMusic(QTimer* timer3, MidiOutput& output, SettingsStore& settings);

    // Builds the song again, moving the stored voice counters on.
    void BuildSong();
    void StartMusic() { player_.startMusic(); }
    void StopMusic() { player_.stopMusic(); }

    const MusicPlayer& player() const { return player_; }

private:
    class Timer3Pace : public StepTimer {
    public:
        explicit Timer3Pace(QTimer* timer) : timer_(timer) {}
        void start(int intervalMilliseconds) override;
        void stop() override;

    private:
        QTimer* timer_;
    };

    SettingsStore& settings_;
    SongTable song_;
    Timer3Pace pace_;
    MusicPlayer player_;
};

}  // namespace pestrolik
