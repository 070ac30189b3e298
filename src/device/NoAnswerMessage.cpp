#include "device/NoAnswerMessage.h"

#include "settings/Language.h"

namespace xk {

std::string NoAnswerMessage(int32_t language) {
    return IsEnglish(language)
               ? "The【XK-R40】USB Mouse does not answer.\nThe settings are saved but did not "
                 "reach the mouse; Apply sends them again."
               : "【XK-R40】USB鼠标没有响应。\n设置已保存，但没有发送到鼠标；点击“应用”再次发送。";
}

std::string RefusedMessage(int32_t language) {
    return IsEnglish(language)
               ? "The【XK-R40】USB Mouse refused the settings.\nThey are saved but "
                 "the mouse does not use them; Apply sends them again."
               : "【XK-R40】USB鼠标拒绝了设置。\n设置已保存，但鼠标没有采用；点击“应用”"
                 "再次发送。";
}

} // namespace xk
