#pragma once

// Time of day and the random generator. Nothing else in the program reads the clock.

#include <cstdint>
#include <functional>

namespace platform {

// Seconds since midnight as a single; tests may put in their own source.
float time_of_day();
void set_time_of_day_source(std::function<float()> source); // empty restores the real clock

// The run time's generator: a 24-bit linear congruential sequence, so every number it gives is
// a multiple of 2^-24 in [0, 1) and exactly a single.
class RandomGenerator {
  public:
    void randomize(float seed);
    float next();
    std::uint32_t state() const { return state_; }
    void set_state(std::uint32_t state) { state_ = state & 0xFFFFFFu; }

  private:
    std::uint32_t state_ = 0x50000; // the run time's state before any seeding
};

RandomGenerator& random_generator();

} // namespace platform
