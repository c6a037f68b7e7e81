#pragma once
// The clock and the random generator, behind interfaces so tests can script them.

#include <cstdint>
#include <random>

namespace pestrolik {

class Clock {
public:
    virtual ~Clock() = default;
    // Local time of day in seconds since midnight, with its fraction.
    virtual double secondsSinceMidnight() = 0;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void reseedFromClock() = 0;
    // Uniform in [0, 1).
    virtual double uniform() = 0;
};

class SystemClock : public Clock {
public:
    double secondsSinceMidnight() override;
};

class SystemRandom : public RandomSource {
public:
    void reseedFromClock() override;
    double uniform() override;

private:
    std::mt19937_64 engine_{0x5eed};
};

}  // namespace pestrolik
