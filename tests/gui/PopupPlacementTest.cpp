#include "ui/PopupPlacement.h"

#include <gtest/gtest.h>

namespace xk {
namespace {

// Two monitors side by side: 1280x1024 at 0,0 and 1920x1080 at 1280,0.
const QRect kLeft(0, 0, 1280, 1024);
const QRect kRight(1280, 0, 1920, 1080);

TEST(PopupPlacement, APopupStaysWhereItAsksWhereItFitsElseMovesInward) {
    struct Case {
        QPoint wanted;
        QRect area;
        QPoint placed;
    };
    const QSize size(200, 300);
    for (const Case& c : {
             Case{{100, 100}, kLeft, {100, 100}},     // fits: the slot's corner
             Case{{1200, 100}, kLeft, {1080, 100}},   // right edge
             Case{{100, 900}, kLeft, {100, 724}},     // bottom edge
             Case{{-50, -20}, kLeft, {0, 0}},         // left and top edges
             Case{{1200, 900}, kLeft, {1080, 724}},   // a corner
             Case{{3100, 1000}, kRight, {3000, 780}}, // the second monitor's own edges
             Case{{1300, 50}, kRight, {1300, 50}},    // fits on the second monitor
         }) {
        EXPECT_EQ(PlaceInside(c.wanted, size, c.area), c.placed)
            << c.wanted.x() << "," << c.wanted.y();
    }
    EXPECT_EQ(PlaceInside({500, 500}, {2000, 2000}, kLeft), QPoint(0, 0))
        << "larger than the screen: its top-left on it";
}

TEST(PopupPlacement, TheSubPopupOpensLeftWhereTheRightHasNoRoom) {
    struct Case {
        QRect popup;
        int wantedTop;
        int rowBottom;
        QPoint placed;
    };
    const QSize size(150, 200);
    for (const Case& c : {
             Case{{100, 100, 160, 300}, 140, 160, {260, 140}},  // beside on the right
             Case{{1000, 100, 160, 300}, 140, 160, {850, 140}}, // no room right: left
             // At the bottom: its last row level with the row that opened it.
             Case{{100, 700, 160, 300}, 900, 920, {260, 720}},
             // Neither the wanted top nor the level row fit: moved inward.
             Case{{100, 700, 160, 300}, 980, 1040, {260, 824}},
         }) {
        EXPECT_EQ(PlaceSubPopup(c.popup, size, c.wantedTop, c.rowBottom, kLeft), c.placed)
            << c.popup.x() << "," << c.popup.y();
    }
    // The popup at the left monitor's right edge: the sub-popup stays on that monitor.
    EXPECT_EQ(PlaceSubPopup({1120, 100, 160, 300}, size, 140, 160, kLeft), QPoint(970, 140));
}

} // namespace
} // namespace xk
