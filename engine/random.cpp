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

uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

uint64_t clockReading() {
    return static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

} // namespace

RandomGenerator::RandomGenerator(std::optional<uint64_t> fixedSeed) : fixed_(fixedSeed.has_value()) {
    seedFrom(fixedSeed ? *fixedSeed : clockReading());
}

void RandomGenerator::seedFrom(uint64_t value) {
    uint64_t x = value;
    state_[0] = splitmix64(x);
    state_[1] = splitmix64(x);
    if ((state_[0] | state_[1]) == 0)
        state_[0] = 1; // the all-zero state would stay zero forever
}

void RandomGenerator::reseedSource() {
    const uint64_t fresh = fixed_ ? ++reseedCount_ : clockReading();
    seedFrom(state_[0] ^ (state_[1] >> 1) ^ (fresh * 0xD1342543DE82EF95ull));
}

uint64_t RandomGenerator::nextBits() {
    const uint64_t s0 = state_[0];
    uint64_t s1 = state_[1];
    const uint64_t result = s0 + s1;
    s1 ^= s0;
    state_[0] = rotl(s0, 24) ^ s1 ^ (s1 << 16);
    state_[1] = rotl(s1, 37);
    return result;
}

std::size_t RandomGenerator::produce(float* out, std::size_t capacity) {
    // 24 bits per number give every float k / 2^24: uniform in [0, 1), never 1. The top bits of
    // xoroshiro128+ are its best, so both halves take bits from the upper 48.
    for (std::size_t i = 0; i + 1 < capacity; i += 2) {
        const uint64_t bits = nextBits();
        out[i] = static_cast<float>(bits >> 40) * 0x1.0p-24f;
        out[i + 1] = static_cast<float>((bits >> 16) & 0xFFFFFFu) * 0x1.0p-24f;
    }
    return capacity & ~std::size_t{1};
}

} // namespace bx
