#include "generation/chance.h"

#include <chrono>
#include <ctime>

namespace pestrolik {

double SystemClock::secondsSinceMidnight() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t wholeSeconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&wholeSeconds, &local);
    const auto fraction = duration<double>(now - system_clock::from_time_t(wholeSeconds)).count();
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

void SystemRandom::reseedFromClock() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    engine_.seed(static_cast<uint64_t>(ticks));
}

double SystemRandom::uniform() {
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;  // 53 random bits: [0, 1)
}

}  // namespace pestrolik
