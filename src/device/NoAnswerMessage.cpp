#include "device/NoAnswerMessage.h"

#include "settings/Language.h"

namespace xk {

std::string NoAnswerMessage(int32_t language) {
    return IsEnglish(language)
               ? "The【XK-R40】USB Mouse does not answer.\nThe settings are saved but did not "
                 "reach the mouse; Apply sends them again."
               : "【XK-R40】USB鼠标没有响应。\n设置已保存，但没有发送到鼠标；点击“应用”再次发送。";
}

} // namespace xk
