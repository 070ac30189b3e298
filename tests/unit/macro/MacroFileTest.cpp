#include "macro/MacroFile.h"
#include "macro/KeyCodes.h"
#include "macro/MacroValue.h"
#include "settings/IniFile.h"
#include "support/TempDir.h"
#include "unit/macro/FakeMacroPage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace xk {
namespace {

using test::AddUserMacro;
using test::TempDir;

std::string Group(int value) {
    char text[4];
    std::snprintf(text, sizeof text, "%03d", value);
    return text;
}

std::string Groups(int value, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += Group(value);
    }
    return out;
}

bool SameBytes(const MacroSlot& a, const MacroSlot& b) {
    return std::memcmp(&a, &b, sizeof(MacroSlot)) == 0;
}

TEST(MacroFile, SavedMacroHasItsExactDigits) {
    TempDir dir;
    MacroStore store;
    AddUserMacro(store, u"ab", {{4, kActionPress, 300}});
    AddUserMacro(store, u"second");
    ASSERT_TRUE(SaveMacroFile(dir / "m.dat", store));

    EXPECT_EQ(IniRead(dir / "m.dat", "Macros", "macroNum", 10), "2");
    const std::string value = IniRead(dir / "m.dat", "Macros", "0", 4000);
    // Name "ab" in UTF-16LE, the rest of the name field, header (once, count 1, one event),
    // event 0 as virtual key 65, press, 300 ms = 44 + 256; then 254 unused all-zero events.
    const std::string expected =
        "097000098000" + Groups(0, 36) + "000001000001" + "065001044001" + Groups(0, 4 * 254);
    EXPECT_EQ(value, expected);
    EXPECT_EQ(IniRead(dir / "m.dat", "Macros", "1", 4000).size(), kMacroValueLength);
}

TEST(MacroFile, KeyCodesAreVirtualKeysInTheFile) {
    struct Case {
        uint8_t key;
        int virtualKey;
    };
    const Case cases[] = {{4, 65},    {39, 48},   {50, 192}, {225, 160},
                          {240, 240}, {241, 241}, {242, 242}};
    for (const auto& c : cases) {
        MacroSlot slot{};
        slot.eventCount = 1;
        slot.events[0] = {c.key, kActionPress};
        slot.events[7] = {c.key, kActionRelease}; // past eventCount: written all the same
        const std::string value = EncodeMacroValue(slot);
        EXPECT_EQ(value.substr(3 * 44, 3), Group(c.virtualKey)) << int{c.key};
        EXPECT_EQ(value.substr(3 * (44 + 4 * 7), 6), Group(c.virtualKey) + "002") << int{c.key};
        const MacroSlot back = DecodeMacroValue(value);
        EXPECT_EQ(back.events[0].keyCode, c.key);
        EXPECT_TRUE(SameBytes(back, slot)) << int{c.key};
    }
}

TEST(MacroFile, ShortValuesAndOddGroups) {
    struct Case {
        const char* value;
        size_t byte;
        uint8_t expected;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"9", 0, 9},            // a group cut short
        {"09700", 1, 0},        // "00": the value ends inside group 1
        {"999", 0, 999 & 0xFF}, // above 255: the low 8 bits
        {"256", 0, 0},
        {"x7z", 0, 0},    // no digits
        {" 42", 0, 42},   // leading blank
        {"é01002", 1, 2}, // a non-ASCII character is one code unit
        {"-01", 0, 0xFF}, // a sign is part of the number
    };
    for (const auto& c : cases) {
        const MacroSlot slot = DecodeMacroValue(c.value);
        uint8_t bytes[sizeof(MacroSlot)];
        std::memcpy(bytes, &slot, sizeof bytes);
        EXPECT_EQ(bytes[c.byte], c.expected) << c.value;
        for (size_t j = 2; j < sizeof bytes; ++j) {
            ASSERT_EQ(bytes[j], 0) << c.value << " byte " << j;
        }
    }
    // Group 44 is the key of event 0: a virtual key read as its HID usage.
    std::string value = Groups(0, 44) + "192001";
    const MacroSlot slot = DecodeMacroValue(value);
    EXPECT_EQ(slot.events[0].keyCode, 50);
    EXPECT_EQ(slot.events[0].action, kActionPress);
}

TEST(MacroFile, ExportThenImportReproducesEveryByte) {
    TempDir dir;
    std::mt19937 random(7);
    MacroStore exported;
    for (int i = 0; i < kUsableUserMacros; ++i) {
        MacroSlot& slot =
            AddUserMacro(exported, u"宏" + std::u16string(1, static_cast<char16_t>(u'a' + i)));
        auto* bytes = reinterpret_cast<uint8_t*>(&slot);
        for (size_t j = 40; j < sizeof(MacroSlot); ++j) {
            bytes[j] = static_cast<uint8_t>(random());
        }
        // Key codes as loading or recording produce them.
        for (auto& event : slot.events) {
            event.keyCode = KeyFromVirtualKey(event.keyCode);
        }
    }
    ASSERT_TRUE(SaveMacroFile(dir / "export.dat", exported));

    MacroStore imported;
    test::RecordingMessages messages;
    ASSERT_TRUE(LoadMacroFile(dir / "export.dat", imported, MacroTarget::User, messages));
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(imported.userMacroCount, kUsableUserMacros);
    for (size_t i = 0; i < kUsableUserMacros; ++i) {
        EXPECT_TRUE(SameBytes(imported.userMacros[i], exported.userMacros[i])) << i;
    }
}

TEST(MacroFile, MacroCountIsReadAndBounded) {
    struct Case {
        const char* macroNum;
        int16_t count;
        int32_t current;
    };
    const Case cases[] = {{"0", 0, 0},    {"5", 5, 4},    {"12", 12, 11},
                          {"13", 12, 11}, {"99", 12, 11}, {"123", 12, 11},
                          {"-3", 0, 0},   {"abc", 0, 0},  {"3x", 3, 2}};
    for (const auto& c : cases) {
        std::string text = "[Macros]\nmacroNum=" + std::string(c.macroNum) + "\n";
        for (int i = 0; i < 13; ++i) {
            text += std::to_string(i) + "=" + Group(i + 1) + "\n";
        }
        MacroStore store;
        for (auto& slot : store.userMacros) {
            slot.name[0] = 0xEE;
        }
        ReadMacros(IniDocument::Parse(text), store, MacroTarget::User);
        EXPECT_EQ(store.userMacroCount, c.count) << c.macroNum;
        EXPECT_EQ(store.currentMacro, c.current) << c.macroNum;
        for (int i = 0; i < kMacroSlotCount; ++i) {
            const int expected = i < c.count ? i + 1 : 0xEE; // slots behind the count untouched
            EXPECT_EQ(store.userMacros[static_cast<size_t>(i)].name[0], expected)
                << c.macroNum << " slot " << i;
        }
    }
}

TEST(MacroFile, MissingFileIsReportedAndLoadsNoMacros) {
    TempDir dir;
    MacroStore store;
    AddUserMacro(store, u"old", {{4, kActionPress, 0}});
    store.currentMacro = 0;
    test::RecordingMessages messages;
    EXPECT_FALSE(LoadMacroFile(dir / "missing.dat", store, MacroTarget::User, messages));
    EXPECT_EQ(messages.shown, std::vector<std::string>{"找不到配置文件"});
    EXPECT_EQ(store.userMacroCount, 0);
    EXPECT_EQ(store.userMacros[0].Name(), u"old") << "the slots keep their bytes";

    // A file without the key loads as empty too, without a message.
    test::WriteFile(dir / "empty.dat", "[Macros]\n");
    messages.shown.clear();
    EXPECT_TRUE(LoadMacroFile(dir / "empty.dat", store, MacroTarget::Constant, messages));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(store.constMacroCount, 0);
}

TEST(MacroFile, ConstantStoreLeavesTheUserStoreAlone) {
    TempDir dir;
    test::WriteFile(dir / "c.dat",
                    "[Macros]\nmacroNum=2\n0=" + Group(99) + "\n1=" + Group(98) + "\n");
    MacroStore store;
    AddUserMacro(store, u"u");
    store.currentMacro = 0;
    test::RecordingMessages messages;
    LoadMacroFile(dir / "c.dat", store, MacroTarget::Constant, messages);
    EXPECT_EQ(store.constMacroCount, 2);
    EXPECT_EQ(store.constMacros[1].Name(), u"b");
    EXPECT_EQ(store.userMacroCount, 1);
    EXPECT_EQ(store.currentMacro, 0);
    EXPECT_EQ(store.userMacros[0].Name(), u"u");
}

TEST(MacroFile, SaveKeepsOtherKeysAndTheEncoding) {
    TempDir dir;
    const auto file = dir / "m.dat";
    // UTF-16LE with a byte-order mark, another section and a key behind the new count.
    const std::u16string text = u"[Other]\r\nx=1\r\n[Macros]\r\nmacroNum=5\r\n4=keep\r\n";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    test::WriteFile(file, bytes);
    MacroStore store;
    AddUserMacro(store, u"名");
    ASSERT_TRUE(SaveMacroFile(file, store));

    const auto doc = LoadIniDocument(file);
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->Encoding(), TextEncoding::Utf16LeBom);
    EXPECT_EQ(doc->Get("Other", "x"), "1");
    EXPECT_EQ(doc->Get("Macros", "macroNum"), "1");
    EXPECT_EQ(doc->Get("Macros", "4"), "keep");
    MacroStore back;
    ReadMacros(*doc, back, MacroTarget::User);
    EXPECT_EQ(back.userMacros[0].Name(), u"名");
}

TEST(MacroFile, FilePathFollowsTheLanguage) {
    EXPECT_EQ(MacroFilePathFor("/opt/xk", 1), std::filesystem::path("/opt/xk/Macro_EN.dat"));
    EXPECT_EQ(MacroFilePathFor("/opt/xk", 0), std::filesystem::path("/opt/xk/Macro_CN.dat"));
}

} // namespace
} // namespace xk
