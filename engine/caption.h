#pragma once
#include <array>
#include <charconv>
#include <string_view>

namespace bx {

// Builds progress captions such as "Running 12 of 50." without touching the heap, so the
// generation update stays allocation-free.
class Caption {
public:
    Caption& operator<<(std::string_view text) {
        for (char c : text)
            if (length_ < buffer_.size())
                buffer_[length_++] = c;
        return *this;
    }
    Caption& operator<<(long number) {
        const auto result = std::to_chars(buffer_.data() + length_, buffer_.data() + buffer_.size(), number);
        if (result.ec == std::errc{})
            length_ = static_cast<std::size_t>(result.ptr - buffer_.data());
        return *this;
    }
    Caption& operator<<(int number) { return *this << static_cast<long>(number); }
    std::string_view view() const { return {buffer_.data(), length_}; }

private:
    std::array<char, 96> buffer_{};
    std::size_t length_ = 0;
};

} // namespace bx
