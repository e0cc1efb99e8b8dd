#include "platform/services.h"

#include <QTime>

#include <bit>
#include <utility>

namespace platform {

namespace {

// Set only by tests; empty means the real clock.
std::function<float()>& time_source() {
    static std::function<float()> source;
    return source;
}

} // namespace

float time_of_day() {
    if (const auto& source = time_source())
        return source();
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay() / 1000.0);
}

void set_time_of_day_source(std::function<float()> source) {
    time_source() = std::move(source);
}

void RandomGenerator::randomize(float seed) {
    // The seed's bit pattern folded to 16 bits replaces the upper two of the three state bytes;
    // the low byte survives, so reseeding with the same value does not always restart the
    // same sequence.
    const auto bits = std::bit_cast<std::uint32_t>(seed);
    const std::uint32_t folded = ((bits >> 16) ^ bits) & 0xFFFFu;
    state_ = ((state_ & 0xFF0000FFu) | (folded << 8)) & 0xFFFFFFu;
}

float RandomGenerator::next() {
    // Unsigned arithmetic wraps; only the low 24 bits are kept.
    state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    // The state is below 2^24, so both the conversion and the division are exact.
    return static_cast<float>(state_) / 16777216.0f;
}

RandomGenerator& random_generator() {
    static RandomGenerator generator;
    return generator;
}

} // namespace platform
