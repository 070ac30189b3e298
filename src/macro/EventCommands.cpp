#include "macro/EventCommands.h"

#include "macro/EventList.h"
#include "macro/KeyCodes.h"

namespace xk {

// Each row runs the same handler under its English and its Chinese id.
const std::array<EventCommand, 14> kEventCommands{{
    {32802,
     32817,
     EventCommandKind::InsertBefore,
     kLeftButtonKey,
     kActionPress,
     {"Add Forward", "Left Button", "Down "},
     {"项前插入    ", "左键    ", "向下    "}},
    {32803,
     32818,
     EventCommandKind::InsertBefore,
     kLeftButtonKey,
     kActionRelease,
     {"Add Forward", "Left Button", "Up"},
     {"项前插入    ", "左键    ", "向上"}},
    {32804,
     32820,
     EventCommandKind::InsertBefore,
     kRightButtonKey,
     kActionPress,
     {"Add Forward", "Right Button", "Down"},
     {"项前插入    ", "右键", "向下    "}},
    {32805,
     32821,
     EventCommandKind::InsertBefore,
     kRightButtonKey,
     kActionRelease,
     {"Add Forward", "Right Button", "Up"},
     {"项前插入    ", "右键", "向上"}},
    {32806,
     32823,
     EventCommandKind::InsertBefore,
     kMiddleButtonKey,
     kActionPress,
     {"Add Forward", "Mid Button", "Down"},
     {"项前插入    ", "中键", "向下    "}},
    {32807,
     32824,
     EventCommandKind::InsertBefore,
     kMiddleButtonKey,
     kActionRelease,
     {"Add Forward", "Mid Button", "Up"},
     {"项前插入    ", "中键", "向上"}},
    {32809,
     32829,
     EventCommandKind::InsertAfter,
     kLeftButtonKey,
     kActionPress,
     {"Add Backward", "Left Button", "Down "},
     {"项后插入", "左键   ", "向下  "}},
    {32810,
     32830,
     EventCommandKind::InsertAfter,
     kLeftButtonKey,
     kActionRelease,
     {"Add Backward", "Left Button", "Up"},
     {"项后插入", "左键   ", "向上"}},
    {32811,
     32831,
     EventCommandKind::InsertAfter,
     kRightButtonKey,
     kActionPress,
     {"Add Backward", "Right Button", "Down"},
     {"项后插入", "右键   ", "向下   "}},
    {32812,
     32832,
     EventCommandKind::InsertAfter,
     kRightButtonKey,
     kActionRelease,
     {"Add Backward", "Right Button", "Up"},
     {"项后插入", "右键   ", "向上"}},
    {32813,
     32833,
     EventCommandKind::InsertAfter,
     kMiddleButtonKey,
     kActionPress,
     {"Add Backward", "Mid Button", "Down"},
     {"项后插入", "中键   ", "向下   "}},
    {32814,
     32834,
     EventCommandKind::InsertAfter,
     kMiddleButtonKey,
     kActionRelease,
     {"Add Backward", "Mid Button", "Up"},
     {"项后插入", "中键   ", "向上"}},
    {32780,
     32835,
     EventCommandKind::ModifyDelay,
     0,
     0,
     {"Modify Delay", nullptr, nullptr},
     {"修改延迟", nullptr, nullptr}},
    {32781,
     32836,
     EventCommandKind::Delete,
     0,
     0,
     {"Delete", nullptr, nullptr},
     {"删除", nullptr, nullptr}},
}};

const EventCommand* FindEventCommand(int32_t id) {
    for (const auto& command : kEventCommands) {
        if (command.englishId == id || command.chineseId == id) {
            return &command;
        }
    }
    return nullptr;
}

bool RunEventCommand(MacroPage& page, int32_t id) {
    const EventCommand* command = FindEventCommand(id);
    if (command == nullptr) {
        return false;
    }
    switch (command->kind) {
    case EventCommandKind::InsertBefore:
        InsertEventBefore(page, command->key, command->action);
        break;
    case EventCommandKind::InsertAfter:
        InsertEventAfter(page, command->key, command->action);
        break;
    case EventCommandKind::ModifyDelay:
        ModifyDelay(page);
        break;
    case EventCommandKind::Delete:
        DeleteEvent(page);
        break;
    }
    return true;
}

} // namespace xk
