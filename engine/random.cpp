#include "random.h"

#include <chrono>

namespace bx {
namespace {

uint64_t splitmix64(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint32_t rotl(uint32_t x, int k) { return (x << k) | (x >> (32 - k)); }

uint64_t clockReading() {
    return static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

} // namespace

RandomGenerator::RandomGenerator(std::optional<uint64_t> fixedSeed) : fixed_(fixedSeed.has_value()) {
    seedFrom(fixedSeed ? *fixedSeed : clockReading());
}

void RandomGenerator::seedFrom(uint64_t value) {
    uint64_t x = value;
    for (int i = 0; i < 4; i += 2) {
        const uint64_t v = splitmix64(x);
        state_[i] = static_cast<uint32_t>(v);
        state_[i + 1] = static_cast<uint32_t>(v >> 32);
    }
    if ((state_[0] | state_[1] | state_[2] | state_[3]) == 0)
        state_[0] = 1; // the all-zero state would stay zero forever
}

void RandomGenerator::reseedSource() {
    const uint64_t current = (static_cast<uint64_t>(state_[0]) << 32 | state_[1]) ^
                             (static_cast<uint64_t>(state_[2]) << 32 | state_[3]);
    const uint64_t fresh = fixed_ ? ++reseedCount_ : clockReading();
    seedFrom(current ^ (fresh * 0xD1342543DE82EF95ull));
}

uint32_t RandomGenerator::nextBits() {
    const uint32_t result = state_[0] + state_[3];
    const uint32_t t = state_[1] << 9;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotl(state_[3], 11);
    return result;
}

std::size_t RandomGenerator::produce(float* out, std::size_t capacity) {
    // The top 24 bits give every float of the form k / 2^24: uniform in [0, 1), never 1.
    for (std::size_t i = 0; i < capacity; ++i)
        out[i] = static_cast<float>(nextBits() >> 8) * 0x1.0p-24f;
    return capacity;
}

} // namespace bx
