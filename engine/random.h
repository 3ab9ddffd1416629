#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace bx {

// Uniform single-precision numbers in [0, 1), reseeded at the points the rules name
// (every creation slice, every update pass, every screensaver tick).
// next() is inline and draws from a small buffer so the generation update pays no virtual
// call per number; subclasses only refill the buffer and reseed.
class RandomSource {
public:
    virtual ~RandomSource() = default;

    float next() {
        if (pos_ == count_)
            refill();
        return buffer_[pos_++];
    }

    void reseed() {
        pos_ = count_ = 0;
        reseedSource();
    }

protected:
    static constexpr std::size_t bufferSize = 32;
    // Writes between 1 and capacity numbers to out and returns how many.
    virtual std::size_t produce(float* out, std::size_t capacity) = 0;
    virtual void reseedSource() = 0;

private:
    void refill() {
        count_ = produce(buffer_.data(), buffer_.size());
        pos_ = 0;
    }

    std::array<float, bufferSize> buffer_{};
    std::size_t pos_ = 0;
    std::size_t count_ = 0;
};

// xoroshiro128+ with a splitmix64 seeder; each 64-bit output gives two numbers. Reseeding mixes a high-resolution clock reading
// with the current state, so two reseeds within one clock tick never replay a sequence.
// With a fixed seed the clock is replaced by a reseed counter: the same seed then gives
// the same numbers, run after run.
class RandomGenerator final : public RandomSource {
public:
    explicit RandomGenerator(std::optional<uint64_t> fixedSeed = std::nullopt);

protected:
    std::size_t produce(float* out, std::size_t capacity) override;
    void reseedSource() override;

private:
    void seedFrom(uint64_t value);
    uint64_t nextBits();

    std::array<uint64_t, 2> state_{};
    bool fixed_;
    uint64_t reseedCount_ = 0;
};

} // namespace bx
