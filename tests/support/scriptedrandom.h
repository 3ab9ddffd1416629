#pragma once
#include <cstddef>
#include <deque>
#include <initializer_list>
#include <stdexcept>

#include "engine/random.h"

namespace bx::test {

// Gives exactly the numbers it was handed, in order, and throws when a rule draws one more
// than the script holds. Reseeding does not disturb the script.
class ScriptedRandom final : public RandomSource {
public:
    ScriptedRandom() = default;
    ScriptedRandom(std::initializer_list<float> values) : values_(values) {}

    void push(float v) { values_.push_back(v); }
    void push(std::initializer_list<float> vs) { values_.insert(values_.end(), vs); }
    std::size_t remaining() const { return values_.size(); }
    int reseeds() const { return reseeds_; }
    // When set, an empty script yields this value forever instead of throwing.
    void fillWith(float v) {
        fill_ = v;
        hasFill_ = true;
    }

protected:
    std::size_t produce(float* out, std::size_t) override {
        if (values_.empty()) {
            if (!hasFill_)
                throw std::out_of_range("scripted random source ran out of numbers");
            *out = fill_;
            return 1;
        }
        *out = values_.front();
        values_.pop_front();
        return 1;
    }
    void reseedSource() override { ++reseeds_; }

private:
    std::deque<float> values_;
    int reseeds_ = 0;
    float fill_ = 0;
    bool hasFill_ = false;
};

} // namespace bx::test
