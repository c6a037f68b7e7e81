#include "window/window_music.h"

#include "music/song_builder.h"

#include <QTimer>

namespace pestrolik {

WindowMusic::WindowMusic(QTimer* timer3, MidiOutput& output, SettingsStore& settings)
    : settings_(settings), pace_(timer3), player_(song_, output, pace_) {
    QObject::connect(timer3, &QTimer::timeout, [this] { player_.tick(); });
}

void WindowMusic::BuildSong() { buildSong(settings_, song_); }

void WindowMusic::Timer3Pace::start(int intervalMilliseconds) { timer_->start(intervalMilliseconds); }

void WindowMusic::Timer3Pace::stop() { timer_->stop(); }

}  // namespace pestrolik
