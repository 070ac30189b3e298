// Checks the data that the build lays beside the program: layouts of both languages, skin
// pictures, config.ini and the macro files.

#include "RecordingShell.h"
#include "macro/KeyCodes.h"
#include "macro/MacroFile.h"
#include "macro/MacroSlot.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/SettingsIo.h"
#include "settings/TextCodec.h"
#include "ui/layout/LayoutLoader.h"
#include "ui/layout/LayoutPaths.h"
#include "ui/layout/SkinPictureNames.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

// Fontconfig keeps its caches for the life of the process; they are not this program's leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

// Qt's raster code synchronises its own thread pool out of ThreadSanitizer's sight.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libQt6Core.so\nrace:libQt6Gui.so\n";
}

namespace xk {
namespace {

namespace fs = std::filesystem;
namespace names = skin_pictures;

const fs::path kBin = XK_BIN_DIR;
const fs::path kSkins = kBin / "skins";

QImage Picture(std::string_view name) {
    return QImage(QString::fromStdString((kSkins / name).string()));
}

// A mask pixel belongs to the window unless red, green and blue are all above 100.
bool Kept(const QImage& mask, int x, int y) {
    const QRgb p = mask.pixel(x, y);
    return qRed(p) <= 100 || qGreen(p) <= 100 || qBlue(p) <= 100;
}

// Every pixel of the rectangle lies inside the picture and belongs to the window.
::testing::AssertionResult InsideWindow(const QImage& mask, const Rect& r) {
    if (r.left < 0 || r.top < 0 || r.right > mask.width() || r.bottom > mask.height()) {
        return ::testing::AssertionFailure() << "outside the picture";
    }
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (!Kept(mask, x, y)) {
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is cut out";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

struct Loaded {
    SkinLayout layout;
    test::RecordingShell shell;
};

Loaded LoadAll(int32_t language) {
    Loaded l;
    LayoutReader reader(l.shell, l.shell);
    LoadMainLayout(reader, kSkins, language, l.layout);
    LoadLightLayout(reader, kSkins, language, l.layout);
    LoadAdvancedLayout(reader, kSkins, language, l.layout);
    LoadWarningLayout(reader, kSkins, language, l.layout);
    return l;
}

TEST(DeliveredLayouts, EveryRowTheProgramReadsExistsInBothLanguages) {
    struct Rows {
        LayoutKind kind;
        std::string_view section;
        int32_t first;
        int32_t last;
    };
    const Rows rows[] = {
        {LayoutKind::Main, kButtonPosSection, 0, kMainElementCount - 1},
        {LayoutKind::Main, kFunctionStringSection, 1, kFunctionNameCount - 1},
        {LayoutKind::Light, kButtonPosSection, 0, kLightElementCount - 1},
        {LayoutKind::Advanced, kButtonPosSection, 0, kMacroElementCount - 1},
        {LayoutKind::Advanced, kEditSection, kRepeatCountEditRow, kMacroNameEditRow},
        {LayoutKind::Advanced, kMacroDisplaySection, kMacroListRow, kEventListRow},
        {LayoutKind::Warning, kButtonPosSection, 0, kWarningElementCount - 1},
    };
    for (int32_t language : {1, 0}) {
        for (const auto& r : rows) {
            const auto doc = LoadIniDocument(LayoutPath(kSkins, r.kind, language));
            ASSERT_TRUE(doc) << LayoutPath(kSkins, r.kind, language);
            for (int32_t row = r.first; row <= r.last; ++row) {
                const auto value = doc->Get(r.section, std::to_string(row));
                EXPECT_TRUE(value && !value->empty())
                    << LayoutFileName(r.kind, language) << " " << r.section << " " << row;
            }
        }
        const Loaded l = LoadAll(language);
        EXPECT_TRUE(l.shell.messages.empty()) << "a clean load shows no message";
        for (int32_t code = 1; code < kFunctionNameCount; ++code) {
            EXPECT_FALSE(l.layout.functionName[static_cast<size_t>(code)].empty()) << code;
        }
    }
}

TEST(DeliveredLayouts, BothLanguagesPlaceEveryElementAlikeForTheOneSetOfPictures) {
    const Loaded en = LoadAll(1);
    const Loaded cn = LoadAll(0);
    EXPECT_EQ(en.layout.mainElements, cn.layout.mainElements);
    EXPECT_EQ(en.layout.lightElements, cn.layout.lightElements);
    EXPECT_EQ(en.layout.macroElements, cn.layout.macroElements);
    EXPECT_EQ(en.layout.warningElements, cn.layout.warningElements);
    EXPECT_EQ(en.layout.macroListRect, cn.layout.macroListRect);
    EXPECT_EQ(en.layout.eventListRect, cn.layout.eventListRect);
    EXPECT_EQ(en.layout.repeatCountEditRect, cn.layout.repeatCountEditRect);
    EXPECT_EQ(en.layout.macroNameEditRect, cn.layout.macroNameEditRect);
}

TEST(DeliveredSkin, PagePicturesShareTheMaskSizeAndEveryElementLiesInsideTheWindow) {
    const QImage mask = Picture(names::kMainMask);
    ASSERT_FALSE(mask.isNull());
    for (auto name :
         {names::kMainNormal, names::kMainOver, names::kMainDown, names::kAdvancedNormal,
          names::kAdvancedOver, names::kAdvancedDown, names::kColorNormal, names::kColorOver,
          names::kColorDown, names::kColorBlue, names::kColorGray}) {
        EXPECT_EQ(Picture(name).size(), mask.size()) << name;
    }
    const SkinLayout l = LoadAll(1).layout;
    for (size_t k = 0; k < l.mainElements.size(); ++k) {
        EXPECT_TRUE(InsideWindow(mask, l.mainElements[k].Bounds())) << "main " << k;
    }
    for (size_t k = 0; k < l.macroElements.size(); ++k) {
        EXPECT_TRUE(InsideWindow(mask, l.macroElements[k].Bounds())) << "macro " << k;
    }
    for (size_t k = 0; k < l.lightElements.size(); ++k) {
        EXPECT_TRUE(InsideWindow(mask, l.lightElements[k].Bounds())) << "light " << k;
    }
    for (const Rect& r :
         {l.macroListRect, l.eventListRect, l.repeatCountEditRect, l.macroNameEditRect}) {
        EXPECT_TRUE(InsideWindow(mask, r));
    }
}

TEST(DeliveredSkin, OutlineIsNotARectangle) {
    const QImage mask = Picture(names::kMainMask);
    ASSERT_FALSE(mask.isNull());
    const int w = mask.width();
    const int h = mask.height();
    EXPECT_TRUE(Kept(mask, w / 2, h / 2));
    int cutCorners = 0;
    for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) {
        cutCorners += Kept(mask, x, y) ? 0 : 1;
    }
    EXPECT_EQ(cutCorners, 4);
}

TEST(DeliveredSkin, NoPageElementLiesUnderACommonElement) {
    const SkinLayout l = LoadAll(1).layout;
    for (int32_t i = 0; i < kCommonElementCount; ++i) {
        const Rect common = l.mainElements[static_cast<size_t>(i)].Bounds();
        for (size_t k = kCommonElementCount; k < l.mainElements.size(); ++k) {
            EXPECT_FALSE(Overlap(common, l.mainElements[k].Bounds())) << i << " main " << k;
        }
        for (size_t k = 0; k < l.macroElements.size(); ++k) {
            EXPECT_FALSE(Overlap(common, l.macroElements[k].Bounds())) << i << " macro " << k;
        }
        for (size_t k = 0; k < l.lightElements.size(); ++k) {
            EXPECT_FALSE(Overlap(common, l.lightElements[k].Bounds())) << i << " light " << k;
        }
    }
}

TEST(DeliveredSkin, PopupsFitTheWindowsTheyOpenIn) {
    struct Popup {
        std::string_view mask, normal, over, down;
        int rows, maxRow, windowHeight;
    };
    const Popup popups[] = {
        {names::kMenuMask, names::kMenuNormal, names::kMenuOver, names::kMenuDown, 10, 29, 300},
        {names::kSubMenuMask, names::kSubMenuNormal, names::kSubMenuOver, names::kSubMenuDown, 12,
         33, 400},
    };
    for (const auto& p : popups) {
        const QImage mask = Picture(p.mask);
        ASSERT_FALSE(mask.isNull()) << p.mask;
        const int row = mask.height() / p.rows;
        EXPECT_LE(mask.width(), 300) << p.mask;
        EXPECT_LE(row, p.maxRow) << p.mask;
        EXPECT_GE(row, 16) << p.mask;
        EXPECT_LE(p.rows * row + 1, p.windowHeight) << p.mask;
        for (auto name : {p.normal, p.over, p.down}) {
            const QImage picture = Picture(name);
            EXPECT_GE(picture.width(), mask.width()) << name;
            EXPECT_GE(picture.height(), p.rows * row + 1) << name;
        }
    }
}

TEST(DeliveredSkin, WarningDialogHoldsItsThreeElements) {
    const QImage mask = Picture(names::kWarningMask);
    ASSERT_FALSE(mask.isNull());
    EXPECT_EQ(Picture(names::kWarningNormal).size(), mask.size());
    EXPECT_EQ(Picture(names::kWarningOver).size(), mask.size());
    for (int32_t language : {1, 0}) {
        const SkinLayout l = LoadAll(language).layout;
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_TRUE(InsideWindow(mask, l.warningElements[i].Bounds())) << i;
            EXPECT_FALSE(l.warningCaptions[i].empty()) << i;
        }
        EXPECT_FALSE(Overlap(l.warningElements[0].Bounds(), l.warningElements[1].Bounds()));
    }
}

TEST(DeliveredMacros, EveryMacroFileLoadsWithNamedMacrosOfKnownKeys) {
    struct Expect {
        fs::path file;
        MacroTarget target;
        int32_t minimum;
    };
    const Expect files[] = {{kBin / "constMacro.dat", MacroTarget::Constant, 8},
                            {kSkins / "INI_EN" / "defMacro.dat", MacroTarget::User, 2},
                            {kSkins / "INI_CN" / "defMacro.dat", MacroTarget::User, 2},
                            {kBin / "Macro_EN.dat", MacroTarget::User, 2},
                            {kBin / "Macro_CN.dat", MacroTarget::User, 2}};
    for (const auto& f : files) {
        MacroStore store;
        test::RecordingMessages messages;
        ASSERT_TRUE(LoadMacroFile(f.file, store, f.target, messages)) << f.file;
        EXPECT_TRUE(messages.shown.empty());
        const bool user = f.target == MacroTarget::User;
        const int32_t count = user ? store.userMacroCount : store.constMacroCount;
        EXPECT_GE(count, f.minimum) << f.file;
        for (int32_t i = 0; i < count; ++i) {
            const MacroSlot& slot =
                (user ? store.userMacros : store.constMacros)[static_cast<size_t>(i)];
            EXPECT_FALSE(slot.Name().empty()) << f.file;
            EXPECT_GE(slot.RepeatCount(), 1) << f.file;
            EXPECT_GT(slot.eventCount, 0) << f.file;
            int held = 0;
            for (size_t e = 0; e < slot.eventCount; ++e) {
                EXPECT_NE(KeyName(slot.events[e].keyCode), "NON-AVAILABLE") << f.file << " " << e;
                EXPECT_TRUE(slot.events[e].action == kActionPress ||
                            slot.events[e].action == kActionRelease);
                held += slot.events[e].action == kActionPress ? 1 : -1;
            }
            EXPECT_EQ(held, 0) << f.file << ": every key pressed is released";
        }
    }
}

int32_t UserMacroCount(const fs::path& file) {
    MacroStore store;
    test::RecordingMessages messages;
    LoadMacroFile(file, store, MacroTarget::User, messages);
    return store.userMacroCount;
}

TEST(DeliveredConfig, HoldsInitTheUserConfigurationsAndDistinctFactoryPresets) {
    const fs::path config = kBin / "config.ini";
    EXPECT_EQ(ReadCurrentConfig(config), 1);
    EXPECT_EQ(ReadLanguage(config), 1);

    Settings defaults;
    ApplyBuiltInDefaults(defaults);
    Settings s;
    LoadSettings(s, config, 1, false);
    EXPECT_EQ(ConfigurationOf(s), ConfigurationOf(defaults)) << "Config1 is the built-in default";

    const int32_t userMacros = std::min(UserMacroCount(kSkins / "INI_EN" / "defMacro.dat"),
                                        UserMacroCount(kSkins / "INI_CN" / "defMacro.dat"));
    std::vector<Configuration> factory;
    for (const std::string section : {"Config2", "Config3", "Config4", "Config5", "CfgReset2",
                                      "CfgReset3", "CfgReset4", "CfgReset5", "CfgReset_EN5"}) {
        const auto doc = LoadIniDocument(config);
        ASSERT_TRUE(doc);
        ASSERT_TRUE(doc->HasSection(section)) << section;
        for (auto key : {"K0", "K7", "DPI_LEVEL", "MACRO_MODE2", "DPI_SET_EN3", "FIRE_TIME"}) {
            EXPECT_TRUE(doc->Get(section, key)) << section << " " << key;
        }
    }
    for (int32_t n = 2; n <= 5; ++n) {
        for (int32_t language : {0, 1}) {
            s.language = language;
            LoadSettings(s, config, n, true);
            const Configuration c = ConfigurationOf(s);
            if (n < 5 && language == 1) {
                continue;
            }
            factory.push_back(c);
            bool left = false;
            for (int32_t code : c.buttonFunction) {
                left = left || code == 1;
                EXPECT_TRUE(code < 41 || code - 41 < userMacros) << "a user macro that exists";
            }
            EXPECT_TRUE(left) << "configuration " << n;
            ASSERT_LT(c.dpiLevel, 4);
            EXPECT_EQ(c.dpiEnabled[static_cast<size_t>(c.dpiLevel)], 1) << n;
            EXPECT_LE(c.fireTime, 300);
        }
    }
    ASSERT_EQ(factory.size(), 5U);
    for (size_t i = 0; i < factory.size(); ++i) {
        for (size_t j = i + 1; j < factory.size(); ++j) {
            EXPECT_NE(factory[i], factory[j]) << i << " " << j;
        }
    }
}

// The program's text fonts, with the substitutes this system registers for them.
QFont TextFont(int32_t language) {
    QFont::insertSubstitution("Consolas", "DejaVu Sans Mono");
    QFont::insertSubstitution("宋体", "WenQuanYi Zen Hei");
    QFont font(language != 0 ? "Consolas" : "宋体");
    font.setPixelSize(language != 0 ? 14 : 12);
    return font;
}

TEST(DeliveredText, CaptionsAndFunctionNamesFitWhereTheyAreDrawn) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "xk_delivered_data_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    for (int32_t language : {1, 0}) {
        const QFontMetrics metrics(TextFont(language));
        auto width = [&](const std::string& text) {
            return metrics.horizontalAdvance(QString::fromStdString(text));
        };
        auto fits = [&](const Element& e, const std::string& text) -> ::testing::AssertionResult {
            if (width(text) <= e.width && metrics.height() <= e.height + 2) {
                return ::testing::AssertionSuccess();
            }
            return ::testing::AssertionFailure()
                   << "'" << text << "' is " << width(text) << " px wide in " << e.width;
        };
        SkinLayout l = LoadAll(language).layout;
        for (size_t k = 0; k < 54; ++k) {
            if (!l.mainCaptions[k].empty()) {
                EXPECT_TRUE(fits(l.mainElements[k], l.mainCaptions[k])) << "main " << k;
            }
        }
        for (size_t k = 0; k < l.lightElements.size(); ++k) {
            EXPECT_TRUE(fits(l.lightElements[k], k == 9 ? "4800" : l.lightCaptions[k])) << k;
        }
        l.macroCaptions[4] = language != 0 ? "Record" : "录制";
        l.macroCaptions[43] = "[↓]254";
        l.macroCaptions[44] = "[↑]254";
        l.macroCaptions[33] = "300ms";
        for (size_t k = 0; k < l.macroElements.size(); ++k) {
            EXPECT_TRUE(fits(l.macroElements[k], l.macroCaptions[k])) << "macro " << k;
        }
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_TRUE(fits(l.warningElements[i], l.warningCaptions[i])) << "warning " << i;
        }
        // A slot's name starts 5 px in and leaves room for the drop-down mark at its right.
        std::vector<std::string> shown(l.functionName.begin() + 1, l.functionName.end());
        MacroStore store;
        test::RecordingMessages messages;
        LoadMacroFile(kSkins / LayoutFolderName(language) / "defMacro.dat", store,
                      MacroTarget::User, messages);
        for (int32_t i = 0; i < store.userMacroCount; ++i) {
            shown.push_back(Utf8FromUtf16(store.userMacros[static_cast<size_t>(i)].Name()));
        }
        for (const std::string& text : shown) {
            for (size_t k = 25; k <= 32; ++k) {
                Element room = l.mainElements[k];
                room.width -= 5 + 22;
                EXPECT_TRUE(fits(room, text)) << "slot " << k;
            }
            EXPECT_LE(width(text), 300 - 30) << text;
        }
    }
}

} // namespace
} // namespace xk
