#pragma once
// The periodic timer that paces the song. The window backs it with a QTimer whose
// timeout calls MusicPlayer::tick(); tests tick by hand.

namespace pestrolik {

class StepTimer {
public:
    virtual ~StepTimer() = default;
    // Starts (or restarts) ticking every `intervalMilliseconds`, the first tick one
    // interval from now.
    virtual void start(int intervalMilliseconds) = 0;
    virtual void stop() = 0;
};

}  // namespace pestrolik
