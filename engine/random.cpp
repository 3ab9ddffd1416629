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

uint64_t clockReading() {
    return static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

} // namespace

RandomGenerator::RandomGenerator(std::optional<uint64_t> fixedSeed) : fixed_(fixedSeed.has_value()) {
    seedFrom(fixedSeed ? *fixedSeed : clockReading());
}

void RandomGenerator::seedFrom(uint64_t value) {
    uint64_t x = value;
    state_.s_ = splitmix64(x);
}

void RandomGenerator::reseedSource() {
    const uint64_t fresh = fixed_ ? ++reseedCount_ : clockReading();
    seedFrom(state_.s_ ^ (fresh * 0x9E3779B97F4A7C15ull));
}

std::size_t RandomGenerator::produce(float* out, std::size_t capacity) {
    for (std::size_t i = 0; i < capacity; ++i)
        out[i] = state_.next();
    return capacity;
}

} // namespace bx
