#include "ui/HitTest.h"

#include "ui/InterfaceState.h"

#include <algorithm>

namespace xk {

bool ElementContains(const Element& e, int32_t px, int32_t py) {
    // 64-bit sums: a layout may hold any int32 value.
    const int64_t right = int64_t{e.x} + e.width;
    const int64_t bottom = int64_t{e.y} + e.height;
    return px >= e.x && px < right && py >= e.y && py < bottom;
}

int32_t HitTest(int32_t px, int32_t py, std::span<const Element> table, int32_t last) {
    const int64_t end = std::min<int64_t>(int64_t{last} + 1, static_cast<int64_t>(table.size()));
    for (int64_t i = 0; i < end; ++i) {
        if (ElementContains(table[static_cast<size_t>(i)], px, py)) {
            return static_cast<int32_t>(i);
        }
    }
    return kNoElement;
}

} // namespace xk
