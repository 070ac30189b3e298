#pragma once

#include <cstdint>
#include <span>

namespace xk {

// The value that stands for no element in every element, row and hot-element index.
inline constexpr int32_t kNoElement = 255;

// A rectangle as (left, top, right, bottom); right and bottom lie outside.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const Rect&) const = default;
};

// The position of one layout element in the client area of the window that shows it.
struct Element {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    // The rectangle (x, y, x + width, y + height), each edge kept within the int32 range.
    Rect Bounds() const;
    // Left and top edges inside, right and bottom edges outside.
    bool Contains(int32_t px, int32_t py) const;

    bool operator==(const Element&) const = default;
};

// The first of elements 0..last that contains the point, or kNoElement.
int32_t HitTest(std::span<const Element> elements, int32_t px, int32_t py, int32_t last);

} // namespace xk
