#pragma once
// A step timer that never fires by itself: the test calls the player's tick().

#include "music/step_timer.h"

namespace pestrolik {

class ManualStepTimer : public StepTimer {
public:
    void start(int intervalMilliseconds) override {
        running = true;
        interval = intervalMilliseconds;
        ++starts;
    }
    void stop() override { running = false; }

    bool running = false;
    int interval = 0;
    int starts = 0;
};

}  // namespace pestrolik
