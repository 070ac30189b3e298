// Switching the interface between English and Chinese.
#include "app/CNUV_DEvoraApp.h"

#include "macro/ReplaceUserMacros.h"
#include "settings/SettingsIo.h"
#include "ui/layout/LayoutLoader.h"

namespace xk {

void CNUV_DEvoraApp::SwitchLanguage(int32_t language) {
    settings_.language = language;
    WriteLanguage(settings_.configPath, language);

    LayoutReader reader(*this, *this);
    if (!LoadMainLayout(reader, skinsDir_, language, layout_) ||
        !LoadLightLayout(reader, skinsDir_, language, layout_) ||
        !LoadAdvancedLayout(reader, skinsDir_, language, layout_) ||
        !LoadWarningLayout(reader, skinsDir_, language, layout_)) {
        return; // a missing layout file has ended the program
    }
    widgets_.SetControlsFont(fonts_.For(language));

    // Unsaved macro changes are dropped, also when the language stays the same.
    SwitchUserMacros(macroPage_, folders_.person, language, settings_.currentPage == kMacroPage);
    LoadMenus(language);
    window_->setWindowTitle(QString::fromLatin1(kWindowTitle));
    // The press and release have painted before the switch: show the new language at once.
    window_->update();
}

} // namespace xk
