#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace bx {

class RandomGenerator;

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

    // The generator whose state a tight loop may take out as a register-held stream, when this
    // source is one; the update asks once and then runs on the stream instead of next().
    virtual RandomGenerator* streamable() { return nullptr; }

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

// A 64-bit linear congruential generator (a spectrally good multiplier of Steele and Vigna)
// seeded through splitmix64; each number takes the top 24 bits of the state, the well-mixed
// ones. It is the cheapest good source for the update, which draws about ten numbers a square.
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

        // Takes over the state of `ahead` (a copy drawn further) when `take` is true, without
        // a branch.
        void adoptIf(bool take, const Stream& ahead) {
            const uint64_t mask = 0 - static_cast<uint64_t>(take);
            s_ = (ahead.s_ & mask) | (s_ & ~mask);
        }

    private:
        friend class RandomGenerator;
        // The top 24 bits of one output, as a signed integer so the conversion to float is a
        // single instruction.
        int32_t bits24() {
            s_ = s_ * 0xD1342543DE82EF95ull + 1;
            return static_cast<int32_t>(s_ >> 40);
        }
        uint64_t s_ = 0;
    };

    Stream stream() {
        discardBuffered();
        return state_;
    }
    void adopt(const Stream& s) { state_ = s; }
    RandomGenerator* streamable() override { return this; }

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
