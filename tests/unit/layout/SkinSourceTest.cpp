// The generator's source checks: a fault in data/ stops the build with its file and line.

#include "MacroSource.h"
#include "PageSource.h"
#include "SkinSources.h"
#include "macro/KeyCodes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace xk::skingen {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const fs::path kSkinSources = fs::path(XK_DATA_DIR) / "skin";

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const SourceError& e) {
        return e.what();
    }
    return {};
}

TEST(PageSource, ReadsElementsDirectivesAndCaptions) {
    const PageSource page = ParsePageSource("size 300 200\n"
                                            "# comment\n"
                                            "panel 1 2 3 4\n"
                                            "0 button 10 20 30 40 | Save | 保存\n"
                                            "EDIT:3 well 1 1 5 5\n",
                                            "t.page");
    EXPECT_EQ(page.width, 300);
    ASSERT_EQ(page.elements.size(), 2U);
    EXPECT_EQ(page.elements[0].position, (Element{10, 20, 30, 40}));
    EXPECT_EQ(page.elements[0].captions[kChinese], "保存");
    ASSERT_NE(page.Find(3, "EDIT"), nullptr);
    EXPECT_EQ(page.Find(3, "EDIT")->role, "well");
    EXPECT_EQ(page.decorations.size(), 1U);
}

TEST(PageSource, RejectsLinesThatWouldMakeABrokenLayout) {
    const std::pair<const char*, const char*> cases[] = {
        {"0 button 1 2 3 4 | Save, all | x\n", "t.page:1: a caption holds no comma (the layout row splits there)"},
        {"0 button 1 2 3 4\n0 button 5 6 7 8\n", "t.page:2: row 0 is defined twice"},
        {"0 button 1 2 x 4\n", "t.page:1: 'x' is not a number"},
        {"0 button 1 2 3\n", "t.page:1: expected ROW ROLE X Y W H"},
        {"frame 1 2 3 4\n", "t.page:1: unknown directive 'frame'"},
        {"0 button 1 2 3 4 | a | b | c\n", "t.page:1: more than two captions"},
    };
    for (const auto& [text, message] : cases) {
        EXPECT_EQ(ErrorOf([&] { ParsePageSource(text, "t.page"); }), message) << text;
    }
}

// A copy of data/skin with one line of one file replaced.
class SkinCopy {
public:
    SkinCopy() {
        for (const auto& entry : fs::directory_iterator(kSkinSources)) {
            fs::copy_file(entry.path(), dir.path() / entry.path().filename());
        }
    }
    void Replace(const std::string& file, const std::string& from, const std::string& to) {
        std::string text = ReadFile(dir / file);
        const auto at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        WriteFile(dir / file, text);
    }
    TempDir dir;
};

TEST(SkinSources, DeliveredSourcesPass) {
    const SkinCopy copy;
    const SkinSources sources = LoadSkinSources(copy.dir.path());
    EXPECT_EQ(sources.common.elements.size(), 20U);
    EXPECT_EQ(sources.functions[7][kEnglish], "Device Functions");
}

TEST(SkinSources, RejectsMissingOutsideAndOverlappingElements) {
    struct Case {
        const char* file;
        const char* from;
        const char* to;
        const char* message;
    };
    const Case cases[] = {
        {"light.page", "12  heading", "# 12 heading", "light.page: row BUTTONPOS 12 is missing"},
        {"macro.page", "EDIT:3 ", "EDIT:5 ", "row EDIT 3 is missing"},
        {"light.page", "526  142  300  300", "726  142  300  300", "lies outside its picture"},
        {"macro.page", "34             heading   196  112", "34             heading   196  60",
         "overlaps macro.page"},
        {"main.page", "23  label         670", "23  label         370", "overlaps main.page"},
        {"menu.page", "size 300 290", "size 300 300", "ten rows of at most 29 pixels"},
        {"functions.txt", "54 | Reserved", "# 54", "no name for code 54"},
    };
    for (const auto& c : cases) {
        SkinCopy fresh;
        fresh.Replace(c.file, c.from, c.to);
        const std::string error = ErrorOf([&] { LoadSkinSources(fresh.dir.path()); });
        EXPECT_NE(error.find(c.message), std::string::npos) << c.file << ": " << error;
    }
}

TEST(MacroSource, ReadsNamesRepeatEventsAndDelays) {
    const auto macros = ParseMacroSource("# comment\nCopy | 复制 | 0 | +LCONTROL +C/35 -C "
                                         "-LCONTROL\nBurst | 连发 | 3 | +L-KEY -L-KEY\n",
                                         "t.macros");
    ASSERT_EQ(macros.size(), 2U);
    const MacroSlot& copy = macros[0].slot;
    EXPECT_EQ(macros[0].names[kChinese], "复制");
    EXPECT_EQ(copy.repeatEnabled, 0);
    EXPECT_EQ(copy.RepeatCount(), 1);
    ASSERT_EQ(copy.eventCount, 4);
    EXPECT_EQ(copy.events[0].keyCode, KeyFromVirtualKey(162));
    EXPECT_EQ(copy.events[1].keyCode, KeyFromVirtualKey('C'));
    EXPECT_EQ(copy.events[1].action, kActionPress);
    EXPECT_EQ(copy.events[2].action, kActionRelease);
    EXPECT_EQ(copy.Delay(1), 35);
    EXPECT_EQ(copy.Delay(0), 20);
    EXPECT_EQ(macros[1].slot.repeatEnabled, 1);
    EXPECT_EQ(macros[1].slot.RepeatCount(), 3);
    EXPECT_EQ(macros[1].slot.events[0].keyCode, kLeftButtonKey);
}

TEST(MacroSource, RejectsWhatTheProgramCouldNotPlay) {
    const std::pair<const char*, const char*> cases[] = {
        {"A | B | 0 | +NOSUCHKEY\n", "no key is named 'NOSUCHKEY'"},
        {"A | B | 0 | C\n", "an event starts with +"},
        {"An overly long macro name | B | 0 | +C -C\n", "a macro name has 1 to 19 characters"},
        {"A | B | 70000 | +C -C\n", "the repeat count is 0 (once) to 65535"},
        {"A | B | 0 | +C/70000\n", "a delay is 0..65535 ms"},
        {"A | B | +C\n", "expected English | Chinese | repeat | events"},
    };
    for (const auto& [text, message] : cases) {
        const std::string error = ErrorOf([&] { ParseMacroSource(text, "t.macros"); });
        EXPECT_NE(error.find(message), std::string::npos) << text << ": " << error;
    }
}

} // namespace
} // namespace xk::skingen
