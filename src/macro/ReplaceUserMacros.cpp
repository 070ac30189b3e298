#include "macro/ReplaceUserMacros.h"

#include "macro/MacroFile.h"
#include "macro/MacroList.h"
#include "macro/Recording.h"

namespace xk {
namespace {

void ShowReplacedMacros(MacroPage& page, bool pageShown) {
    if (pageShown) {
        FillMacroList(page);
        page.controls.RepaintWindow();
    }
}

} // namespace

bool ResetUserMacros(MacroPage& page, const std::filesystem::path& skinsDir, int32_t language,
                     bool pageShown) {
    LoadUserMacros(page, DefaultMacroFilePath(skinsDir, language));
    ShowReplacedMacros(page, pageShown);
    return SaveMacroFile(page.store.macroFilePath, page.store);
}

bool SaveThenReplaceUserMacros(MacroPage& page, const IniDocument& macros, bool pageShown) {
    if (!SaveMacrosOf(macros, page.store.macroFilePath)) {
        return false;
    }
    StopRecording(page);
    ReadMacros(macros, page.store, MacroTarget::User);
    ShowReplacedMacros(page, pageShown);
    return true;
}

void SwitchUserMacros(MacroPage& page, const std::filesystem::path& personFolder, int32_t language,
                      bool pageShown) {
    page.store.macroFilePath = MacroFilePathFor(personFolder, language);
    LoadUserMacros(page, page.store.macroFilePath);
    ShowReplacedMacros(page, pageShown);
}

} // namespace xk
