#include "ui/InterfaceState.h"
#include "ui/MaskShape.h"
#include "ui/PointerRules.h"
#include "ui/layout/Element.h"

#include <gtest/gtest.h>

#include <vector>

namespace xk {
namespace {

struct DpiCase {
    std::array<uint8_t, 4> enabled;
    int32_t level;
    int32_t toggled;
    std::array<uint8_t, 4> wantEnabled;
    int32_t wantLevel;
};

TEST(ToggleDpiEnabled, KeepsOneEnabledLevelCurrent) {
    const DpiCase cases[] = {
        {{0, 0, 0, 0}, 0, 2, {0, 0, 1, 0}, 0}, // off -> on, level unchanged
        {{1, 1, 0, 0}, 1, 1, {1, 0, 0, 0}, 0}, // 1 -> 2 -> 3 -> 0 searched
        {{0, 0, 1, 0}, 2, 2, {0, 0, 1, 0}, 2}, // the only level stays on and current
        {{1, 1, 1, 1}, 0, 3, {1, 1, 1, 0}, 0}, // not the current level: level unchanged
        {{1, 0, 1, 1}, 3, 3, {1, 0, 1, 0}, 0}, // wraps round to 0
        {{0, 1, 1, 0}, 1, 1, {0, 0, 1, 0}, 2}, // the next one after it
        {{1, 1, 1, 1}, 0, 4, {1, 1, 1, 1}, 0}, // no such level: nothing
    };
    for (const auto& c : cases) {
        Settings s;
        s.dpiEnabled = c.enabled;
        s.dpiLevel = c.level;
        ToggleDpiEnabled(s, c.toggled);
        EXPECT_EQ(s.dpiEnabled, c.wantEnabled) << "toggled " << c.toggled;
        EXPECT_EQ(s.dpiLevel.load(), c.wantLevel) << "toggled " << c.toggled;
    }
}

TEST(FireTime, FromThePressAndItsSteps) {
    EXPECT_EQ(FireTimeFromX(100, 100, 200), 0);
    EXPECT_EQ(FireTimeFromX(200, 100, 200), 150);
    EXPECT_EQ(FireTimeFromX(299, 100, 200), 298); // truncates
    EXPECT_EQ(FireTimeFromX(50, 100, 200), 0);    // left of the bar
    EXPECT_EQ(FireTimeFromX(400, 100, 200), 300); // right of the bar
    EXPECT_EQ(FireTimeFromX(5, 0, 0), 0);         // a bar without width
    EXPECT_EQ(StepFireTime(300, 1), 300);
    EXPECT_EQ(StepFireTime(0, -1), 0);
    EXPECT_EQ(StepFireTime(150, 1), 151);
    EXPECT_EQ(StepFireTime(INT32_MAX, 1), 300);
}

TEST(DpiDisplayValue, KnownCodesAndTheRest) {
    EXPECT_EQ(DpiDisplayValue(2), 400);
    EXPECT_EQ(DpiDisplayValue(9), 2000);
    EXPECT_EQ(DpiDisplayValue(15), 4800);
    EXPECT_EQ(DpiDisplayValue(1), 200);
    EXPECT_EQ(DpiDisplayValue(12), 200);
    EXPECT_EQ(DpiDisplayValue(255), 200);
}

TEST(ShapeFromMask, PixelRuleAndRuns) {
    QImage mask(6, 3, QImage::Format_RGB32);
    mask.fill(QColor(0, 0, 0));
    mask.setPixel(0, 0, qRgb(100, 100, 100));
    mask.setPixel(1, 0, qRgb(101, 101, 101));
    mask.setPixel(2, 0, qRgb(255, 255, 0));
    mask.setPixel(3, 0, qRgb(255, 255, 255));
    mask.setPixel(4, 0, qRgb(101, 255, 255));
    mask.setPixel(5, 0, qRgb(255, 100, 255));
    for (int x = 0; x < 6; ++x) {
        mask.setPixel(x, 2, qRgb(200, 200, 200));
    }
    const QRegion region = RegionFromMask(mask);
    const bool kept[] = {true, false, true, false, false, true};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(region.contains(QPoint(x, 0)), kept[x]) << "x " << x;
        EXPECT_TRUE(region.contains(QPoint(x, 1)));
        EXPECT_FALSE(region.contains(QPoint(x, 2)));
    }
    EXPECT_FALSE(region.contains(QPoint(6, 1)));
    EXPECT_TRUE(RegionFromMask(QImage()).isEmpty());
}

TEST(ShapeFromMask, MissingPictureGivesNoShape) {
    const MaskShape shape = ShapeFromMask("/nonexistent/main_mask.jpg");
    EXPECT_TRUE(shape.size.isEmpty());
    EXPECT_TRUE(shape.region.isEmpty());
}

TEST(MacroRepaintRegion, CutsTheThreeControlsButNotTheRepeatEdit) {
    const QRegion outline(0, 0, 100, 100);
    const QRegion region =
        MacroRepaintRegion(outline, {10, 10, 20, 20}, {30, 30, 40, 40}, {50, 50, 60, 60});
    EXPECT_FALSE(region.contains(QPoint(10, 10)));
    EXPECT_FALSE(region.contains(QPoint(19, 19)));
    EXPECT_TRUE(region.contains(QPoint(20, 20)));
    EXPECT_FALSE(region.contains(QPoint(35, 35)));
    EXPECT_FALSE(region.contains(QPoint(55, 55)));
    EXPECT_TRUE(region.contains(QPoint(5, 5)));
    // Overlapping or outlying rectangles never add area outside the outline.
    const QRegion odd = MacroRepaintRegion(outline, {90, 90, 150, 150}, {90, 90, 150, 150}, {});
    EXPECT_FALSE(odd.contains(QPoint(120, 120)));
    EXPECT_FALSE(odd.contains(QPoint(95, 95)));
}

} // namespace
} // namespace xk
