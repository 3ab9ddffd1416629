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
        discardBuffered();
        reseedSource();
    }

protected:
    void discardBuffered() { pos_ = count_ = 0; }
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

// xoroshiro128+ with a splitmix64 seeder; each number takes the top 24 bits of one output.
// Reseeding mixes a high-resolution clock reading with the current state, so two reseeds within
// one clock tick never replay a sequence. With a fixed seed the clock is replaced by a reseed
// counter: the same seed then gives the same numbers, run after run.
class RandomGenerator final : public RandomSource {
public:
    explicit RandomGenerator(std::optional<uint64_t> fixedSeed = std::nullopt);

    // The generator's state taken out for a tight loop, where it lives in registers. Gives the
    // same numbers the generator would; hand it back with adopt() before using the generator.
    class Stream {
    public:
        // 24 bits give every float k / 2^24: uniform in [0, 1), never 1.
        float next() { return static_cast<float>(bits24()) * 0x1.0p-24f; }

        // next() * 255 with one multiplication fewer on the rules' critical path: scaling by
        // 2^-24 is exact, so k * 2^-24 * 255 and k * (255 * 2^-24) round to the same float.
        float next255() { return static_cast<float>(bits24()) * (255.0f * 0x1.0p-24f); }

    private:
        friend class RandomGenerator;
        static uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
        // The top 24 bits of one output, as a signed integer so the conversion to float is a
        // single instruction.
        int32_t bits24() {
            const uint64_t s0 = s0_;
            uint64_t s1 = s1_;
            const uint64_t result = s0 + s1;
            s1 ^= s0;
            s0_ = rotl(s0, 24) ^ s1 ^ (s1 << 16);
            s1_ = rotl(s1, 37);
            return static_cast<int32_t>(result >> 40);
        }
        uint64_t s0_ = 0, s1_ = 0;
    };

    Stream stream() {
        discardBuffered();
        return state_;
    }
    void adopt(const Stream& s) { state_ = s; }

protected:
    std::size_t produce(float* out, std::size_t capacity) override;
    void reseedSource() override;

private:
    void seedFrom(uint64_t value);

    Stream state_;
    bool fixed_;
    uint64_t reseedCount_ = 0;
};

} // namespace bx
