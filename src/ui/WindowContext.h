#pragma once

#include "macro/MacroPage.h"
#include "settings/Settings.h"
#include "ui/InterfaceState.h"
#include "ui/SkinPictures.h"
#include "ui/TextFonts.h"
#include "ui/layout/SkinLayout.h"

namespace xk {

// The program-wide state the main window reads and changes, owned by the application object.
struct WindowContext {
    Settings& settings;
    MacroPage& macroPage;
    InterfaceState& ui;
    SkinLayout& layout;
    SkinPictures& pictures;
    TextFonts& fonts;
};

} // namespace xk
