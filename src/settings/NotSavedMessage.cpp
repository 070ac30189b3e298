#include "settings/NotSavedMessage.h"

#include "settings/FileBytes.h"
#include "settings/Language.h"

namespace xk {

std::string RootTakeOverAdvice(std::string_view program) {
    const std::string name(program);
    return " belongs to another user than root; run " + name +
           " as that user (for the mouse's hidraw nodes, install the udev rule instead of using "
           "root)";
}

std::string NotSavedMessage(std::span<const std::filesystem::path> files, int32_t language) {
    const bool english = IsEnglish(language);
    std::string text = english ? "Cannot save to" : "无法保存到";
    std::string owners;
    for (const auto& file : files) {
        text += "\n" + file.string();
        const auto target = WriteTarget(file);
        if (target && RootWouldTakeOver(*target)) {
            owners += "\n" + target->string() + RootTakeOverAdvice("xk-r40");
        }
    }
    if (!owners.empty()) {
        return text + owners;
    }
    text += english ? "\nThe folder may be read-only or the disk full."
                    : "\n文件夹可能是只读的，或者磁盘已满。";
    return text;
}

} // namespace xk
