#include "ui/layout/Element.h"

#include <algorithm>
#include <limits>

namespace xk {

namespace {

// Edges are summed in 64 bits: positions come from files and may be anything.
int32_t Edge(int32_t origin, int32_t extent) {
    const int64_t sum = int64_t{origin} + int64_t{extent};
    return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

Rect Element::Bounds() const {
    return {x, y, Edge(x, width), Edge(y, height)};
}

bool Element::Contains(int32_t px, int32_t py) const {
    return int64_t{px} >= x && int64_t{px} < int64_t{x} + width && int64_t{py} >= y &&
           int64_t{py} < int64_t{y} + height;
}

int32_t HitTest(std::span<const Element> elements, int32_t px, int32_t py, int32_t last) {
    const auto count = std::min<int64_t>(int64_t{last} + 1, static_cast<int64_t>(elements.size()));
    for (int64_t i = 0; i < count; ++i) {
        if (elements[static_cast<size_t>(i)].Contains(px, py)) {
            return static_cast<int32_t>(i);
        }
    }
    return kNoElement;
}

} // namespace xk
