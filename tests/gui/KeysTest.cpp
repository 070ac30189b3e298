#include "SyntheticSkin.h"

#include "macro/MacroList.h"
#include "macro/Recording.h"
#include "ui/KeyMessages.h"

#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace xk::test {
namespace {

TEST(KeyMessages, PhysicalKeysWithLeftAndRightModifiersApart) {
    const struct {
        uint32_t keycode;
        uint32_t virtualKey;
    } cases[] = {{38, 'A'},   {10, '1'},   {19, '0'},   {50, 0xA0}, {62, 0xA1},  {37, 0xA2},
                 {105, 0xA3}, {64, 0xA4},  {108, 0xA5}, {36, 0x0D}, {104, 0x0D}, {76, 0x79},
                 {96, 0x7B},  {111, 0x26}, {0, 0},      {200, 0},   {92, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(VirtualKeyFromX11Keycode(c.keycode), c.virtualKey) << c.keycode;
    }
    const QKeyEvent altA(QEvent::KeyPress, Qt::Key_A, Qt::AltModifier, 38, 0x61, 0);
    EXPECT_EQ(KeyMessageOf(altA)->message, kSysKeyDownMessage);
    const QKeyEvent f10(QEvent::KeyRelease, Qt::Key_F10, Qt::NoModifier, 76, 0, 0);
    EXPECT_EQ(KeyMessageOf(f10)->message, kSysKeyUpMessage);
    const QKeyEvent a(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, 38, 0x61, 0);
    EXPECT_EQ(KeyMessageOf(a)->message, kKeyUpMessage);
    const QKeyEvent unknown(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, 0, 0);
    EXPECT_FALSE(KeyMessageOf(unknown));
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

} // namespace
} // namespace xk::test
