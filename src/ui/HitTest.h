#pragma once

#include "ui/SkinLayoutStandIn.h"

#include <cstdint>
#include <span>

namespace xk {

// Whether (px, py) lies in the element's rectangle: left and top edges inside, right and
// bottom edges outside.
bool ElementContains(const Element& e, int32_t px, int32_t py);

// The first of elements 0..last containing the point, or kNoElement. `last` is cut to the
// table's size.
int32_t HitTest(int32_t px, int32_t py, std::span<const Element> table, int32_t last);

} // namespace xk
