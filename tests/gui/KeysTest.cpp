#include "SyntheticSkin.h"

#include "macro/MacroList.h"
#include "macro/Recording.h"
#include "ui/KeyMessages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace xk::test {
namespace {

TEST(KeyMessages, PhysicalKeysWithLeftAndRightModifiersApart) {
    const struct {
        uint32_t keycode;
        uint32_t keysym;
        uint32_t virtualKey;
    } cases[] = {
        {38, 0x61, 'A'},
        {10, 0x31, '1'},
        {19, 0x30, '0'},
        {50, 0xFFE1, 0xA0},
        {62, 0xFFE2, 0xA1},
        {37, 0xFFE3, 0xA2},
        {105, 0xFFE4, 0xA3},
        {64, 0xFFE9, 0xA4},
        {108, 0xFFEA, 0xA5},
        {36, 0xFF0D, 0x0D},
        {104, 0xFF8D, 0x0D},
        {76, 0xFFC7, 0x79},
        {96, 0xFFC9, 0x7B},
        {111, 0xFF52, 0x26},
        {0, 0, 0},
        {203, 0, 0},
        {92, 0xFE03, 0},
        {94, 0x3C, 0xE2},
        {135, 0xFF67, 0x5D},
        {146, 0xFF6A, 0x2F},
        // By position: the keypad's comma, the Yen key, a USB keyboard's Select and Execute.
        {129, 0xFFAC, 0xBC},
        {132, 0xA5, 0xDC},
        {140, 0x1005FF71, 0x29},
        {142, 0x1005FF73, 0x2B},
        // F13..F24 by their keycodes, whatever the layout makes of them, or by their keysyms.
        {191, 0x1008FF81, 0x7C},
        {202, 0, 0x87},
        {8, 0xFFCA, 0x7C},
        {8, 0xFFD5, 0x87},
        // Select, Execute, Help and Clear on a keycode mapped for the moment.
        {8, 0xFF60, 0x29},
        {8, 0xFF62, 0x2B},
        {8, 0xFF6A, 0x2F},
        {8, 0xFF0B, 0x0C},
        {8, 0x3C, 0},
        // The keypad: digits with Num Lock on, navigation keys with it off.
        {79, 0xFFB7, 0x67},
        {79, 0xFF95, 0x24},
        {84, 0xFFB5, 0x65},
        {84, 0xFF9D, 0x0C},
        {90, 0xFFB0, 0x60},
        {90, 0xFF9E, 0x2D},
        {91, 0xFFAE, 0x6E},
        {91, 0xFF9F, 0x2E},
        {89, 0xFF9B, 0x22},
        {63, 0xFFAA, 0x6A},
        {86, 0xFFAB, 0x6B},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VirtualKeyFromX11Key(c.keycode, c.keysym), c.virtualKey)
            << c.keycode << " " << std::hex << c.keysym;
    }
    const QKeyEvent altA(QEvent::KeyPress, Qt::Key_A, Qt::AltModifier, 38, 0x61, 0);
    EXPECT_EQ(KeyMessageOf(altA)->message, kSysKeyDownMessage);
    const QKeyEvent f10(QEvent::KeyRelease, Qt::Key_F10, Qt::NoModifier, 76, 0, 0);
    EXPECT_EQ(KeyMessageOf(f10)->message, kSysKeyUpMessage);
    const QKeyEvent a(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, 38, 0x61, 0);
    EXPECT_EQ(KeyMessageOf(a)->message, kKeyUpMessage);
    const QKeyEvent unknown(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, 0, 0);
    EXPECT_EQ(KeyMessageOf(unknown)->virtualKey, 0u);
}

TEST(KeyMessages, KeysTypedWhileRecordingReachTheMacro) {
    SyntheticSkin skin;
    QApplication::instance()->installEventFilter(skin.window.get());
    skin.macros.userMacroCount = 1;
    skin.macros.userMacros[0].SetName(u"M");
    skin.window->ShowPage(kMacroPage);
    FillMacroList(skin.macroPage);
    ToggleRecording(skin.macroPage);
    ASSERT_TRUE(skin.macroPage.recorder.recording);
    skin.window->activateWindow();
    skin.window->setFocus();
    QWidget* target =
        QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : skin.window.get();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, 56, 0x62, 0);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier, 56, 0x62, 0);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    ToggleRecording(skin.macroPage);
    EXPECT_EQ(skin.macros.userMacros[0].eventCount, 2);
    EXPECT_EQ(skin.macros.userMacros[0].events[0].action, kActionPress);
    QApplication::instance()->removeEventFilter(skin.window.get());
}

TEST(KeyMessages, WhileRecordingEveryKeyIsTheRecordingsAndNoneReachesTheWindow) {
    SyntheticSkin skin;
    QApplication::instance()->installEventFilter(skin.window.get());
    skin.macros.userMacroCount = 1;
    skin.macros.userMacros[0].SetName(u"M");
    skin.window->ShowPage(kMacroPage);
    FillMacroList(skin.macroPage);
    ToggleRecording(skin.macroPage);
    skin.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(skin.window.get()));
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);

    // A menu that opens (the system menu on Alt+Space or the Menu key) is counted and closed.
    int menus = 0;
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            ++menus;
            popup->close();
        }
    });
    watchdog.start(5);

    struct Key {
        QEvent::Type type;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        quint32 keycode;
        quint32 keysym;
        bool autoRepeat;
    };
    const auto down = QEvent::KeyPress;
    const auto up = QEvent::KeyRelease;
    const Key keys[] = {
        // X held: X's release and press pairs flagged as auto-repeat in between.
        {down, Qt::Key_X, {}, 53, 0x78, false},
        {up, Qt::Key_X, {}, 53, 0x78, true},
        {down, Qt::Key_X, {}, 53, 0x78, true},
        {up, Qt::Key_X, {}, 53, 0x78, false},
        {down, Qt::Key_Alt, Qt::AltModifier, 64, 0xFFE9, false},
        {down, Qt::Key_Space, Qt::AltModifier, 65, 0x20, false},
        {up, Qt::Key_Alt, {}, 64, 0xFFE9, false},
        {up, Qt::Key_Space, {}, 65, 0x20, false},
        {down, Qt::Key_Menu, {}, 135, 0xFF67, false},
        {up, Qt::Key_Menu, {}, 135, 0xFF67, false},
        {down, Qt::Key_Tab, {}, 23, 0xFF09, false},
        {up, Qt::Key_Tab, {}, 23, 0xFF09, false},
        {down, Qt::Key_Less, {}, 94, 0x3C, false}, // no row in the key table
        {up, Qt::Key_Less, {}, 94, 0x3C, false},
        // Select on a keycode mapped for the moment; its release comes after the mapping went.
        {down, Qt::Key_Select, {}, 8, 0xFF60, false},
        {up, Qt::Key_unknown, {}, 8, 0, false},
    };
    for (const Key& k : keys) {
        QKeyEvent event(k.type, k.key, k.modifiers, k.keycode, k.keysym, 0, QString(),
                        k.autoRepeat);
        QApplication::sendEvent(target, &event);
        QCoreApplication::processEvents();
    }
    watchdog.stop();
    EXPECT_EQ(menus, 0);
    EXPECT_EQ(QApplication::focusWidget(), target) << "Tab moved nothing";
    ToggleRecording(skin.macroPage);
    QApplication::instance()->removeEventFilter(skin.window.get());

    const std::vector<std::u16string> expected = {
        u"[↓]X",    u"[↑]X",    u"[↓]LMENU", u"[↓]SPACE", u"[↑]LMENU",  u"[↑]SPACE",
        u"[↓]APPS", u"[↑]APPS", u"[↓]TAB",   u"[↑]TAB",   u"[↓]SELECT", u"[↑]SELECT"};
    const auto& list = skin.window->MacroControls().EventList();
    ASSERT_EQ(list.count(), static_cast<int>(2 * expected.size() - 1));
    for (size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(list.item(static_cast<int>(2 * k))->text().toStdU16String(), expected[k]) << k;
    }
}

} // namespace
} // namespace xk::test
