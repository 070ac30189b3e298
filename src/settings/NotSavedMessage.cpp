#include "settings/NotSavedMessage.h"

#include "settings/Language.h"

namespace xk {

std::string NotSavedMessage(std::span<const std::filesystem::path> files, int32_t language) {
    const bool english = IsEnglish(language);
    std::string text = english ? "Cannot save to" : "无法保存到";
    for (const auto& file : files) {
        text += "\n" + file.string();
    }
    text += english ? "\nThe folder may be read-only or the disk full."
                    : "\n文件夹可能是只读的，或者磁盘已满。";
    return text;
}

} // namespace xk
