#include "ui/layout/PopupRows.h"
#include "ui/layout/Element.h"

#include <gtest/gtest.h>

#include <limits>

namespace xk {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(PopupRows, RowAtCountsBandsFromOneUpToTheRowCountWhateverThePoint) {
    struct Case {
        int32_t x, y, width, rowHeight, rows, row;
    };
    const Case cases[] = {
        {0, 0, 100, 20, 10, 1},
        {99, 199, 100, 20, 10, 10},
        {99, 200, 100, 20, 10, kNoElement}, // below the last row
        {100, 10, 100, 20, 10, kNoElement}, // right of the popup
        {-1, 10, 100, 20, 10, kNoElement},  // left of it
        {0, -1, 100, 20, 10, kNoElement},   // above it
        {0, 10, 100, 0, 10, kNoElement},    // a popup without a picture
        {0, 10, 100, 20, -3, kNoElement},   // no rows
        {0, kMax - 1, kMax, 1, kMax, kMax}, // the last row there can be
        {0, kMax, kMax, 1, kMax, kNoElement},
        {kMin, kMin, kMax, kMax, kMax, kNoElement},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RowAt(c.x, c.y, c.width, c.rowHeight, c.rows), c.row)
            << c.x << "," << c.y << " in " << c.width << " x " << c.rowHeight << " x " << c.rows;
    }
}

} // namespace
} // namespace xk
