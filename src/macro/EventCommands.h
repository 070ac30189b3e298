#pragma once

#include "macro/MacroPage.h"

#include <array>
#include <cstdint>

namespace xk {

enum class EventCommandKind { InsertBefore, InsertAfter, ModifyDelay, Delete };

// One command of the event list's context menu. Paths are the menu texts from the popup's
// item down to the command (UTF-8, trailing spaces included; unused levels are null).
struct EventCommand {
    int32_t englishId;
    int32_t chineseId;
    EventCommandKind kind;
    uint8_t key;
    uint8_t action;
    std::array<const char*, 3> englishPath;
    std::array<const char*, 3> chinesePath;
};

// Titles of the popup in the English and the Chinese menu.
inline constexpr const char* kEventMenuTitleEnglish = "MENU_CN";
inline constexpr const char* kEventMenuTitleChinese = "插入菜单";

extern const std::array<EventCommand, 14> kEventCommands;

// The command of an id of either menu, or null.
const EventCommand* FindEventCommand(int32_t id);
// Runs the command of an id of either menu; false for an unknown id.
bool RunEventCommand(MacroPage& page, int32_t id);

} // namespace xk
