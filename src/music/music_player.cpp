#include "music/music_player.h"

namespace pestrolik {

MusicPlayer::MusicPlayer(const SongTable& song, MidiOutput& output, StepTimer& timer)
    : song_(song), output_(output), timer_(timer) {}

void MusicPlayer::startMusic() {
    step_ = 1;
    slot_ = 1;
    output_.expectSong(song_);
    output_.open();  // without an output the song runs its course in silence
    timer_.start(kStepIntervalMilliseconds);
    playing_ = true;
}

void MusicPlayer::stopMusic() {
    timer_.stop();
    output_.close();
    playing_ = false;
}

void MusicPlayer::tick() {
    if (!playing_) return;  // a tick queued before the timer stopped
    if (song_.at(step_, 1) == SongTable::kEmpty) {
        stopMusic();
        return;
    }
    // One step per tick, even when the tick is late: a busy window slows the song
    // down instead of bunching steps.
    while (song_.at(step_, slot_) != SongTable::kEmpty) {
        output_.send(song_.at(step_, slot_));
        ++slot_;
    }
    ++step_;
    slot_ = 1;
}

}  // namespace pestrolik
