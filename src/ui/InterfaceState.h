#pragma once

#include "ui/layout/Element.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace xk {

inline constexpr uint8_t kMainPage = 0;
inline constexpr uint8_t kMacroPage = 1;
inline constexpr uint8_t kLightPage = 2;

// The main window's interface state: what lies under the pointer, what is pressed, the popup
// and the LED preview. Owned by the application object, read by painting and the tests.
struct InterfaceState {
    int32_t hotMainElement = kNoElement;
    int32_t hotLightElement = kNoElement;
    int32_t hotMacroElement = kNoElement;
    // Main, light and macro hot element at the last repaint request.
    std::array<int32_t, 3> lastHot{kNoElement, kNoElement, kNoElement};
    bool pointerPressed = false;

    bool functionPopupOpen = false;
    std::array<int32_t, 2> popupOrigin{};
    // The function popup and its sub-popup: the popup's row under the pointer (kNoElement for
    // none; it keeps its value when the pointer leaves the popup), the left button held on the
    // popup, the rows the sub-popup shows, the code it assigned last, and an assignment from
    // the sub-popup that the main window's next paint completes by closing the popup.
    int32_t popupRow = kNoElement;
    bool popupPressed = false;
    int32_t subPopupRows = 0;
    int32_t lastSubCode = 0;
    bool assignmentDone = false;
    // The warning's button under the pointer: 1 confirm, 2 cancel, kNoElement none; taken from
    // the pointer's position when the warning shows.
    int32_t warningChoice = 0;

    int32_t ledPreviewColour = 0;
    bool ledPreviewDark = false;
    bool ledPreviewRunning = false;

    // Width and height of the window's mask picture.
    int32_t paintWidth = 0;
    int32_t paintHeight = 0;
};

} // namespace xk
