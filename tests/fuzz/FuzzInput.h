#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace xk::fuzz {

// Takes values off the front of a fuzz input; past its end everything reads as zero.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    template <typename T> T Value() {
        uint8_t bytes[sizeof(T)] = {};
        const size_t n = sizeof(T) < Left() ? sizeof(T) : Left();
        if (n > 0) {
            std::memcpy(bytes, data_ + pos_, n);
            pos_ += n;
        }
        T value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }
    // Up to `count` bytes as text.
    std::string_view Text(size_t count) {
        const size_t n = count < Left() ? count : Left();
        const std::string_view text(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return text;
    }
    std::string_view Rest() { return Text(Left()); }
    size_t Left() const { return size_ - pos_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

} // namespace xk::fuzz
