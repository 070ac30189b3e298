#include "SyntheticSkin.h"

#include "settings/Language.h"
#include "settings/NotSavedMessage.h"
#include "settings/SettingsIo.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace xk::test {
namespace {

using Calls = std::vector<std::string>;

TEST(Pointer, OtherPagesHitOnlyTheCommonElements) {
    SyntheticSkin skin;
    const auto& M = skin.layout.mainElements;
    skin.MoveTo(M[41]);
    EXPECT_EQ(skin.ui.hotMainElement, 41) << "41 and 114 overlap: the lower index wins";
    skin.Click(M[10]);
    ASSERT_EQ(skin.settings.currentPage, kMacroPage);
    for (const int k : {25, 41, 66, 113}) {
        skin.MoveTo(M[static_cast<size_t>(k)]);
        EXPECT_EQ(skin.ui.hotMainElement, kNoElement) << k;
    }
    skin.MoveTo(M[3]);
    EXPECT_EQ(skin.ui.hotMainElement, 3);
}

TEST(Pointer, MainPagePressesChangeTheRecord) {
    SyntheticSkin skin;
    const auto& M = skin.layout.mainElements;
    skin.Click(M[66 + 12 * 2 + 11]);
    EXPECT_EQ(skin.settings.dpiValue[2], 11);
    skin.Click(M[66 + 12 * 1]);
    EXPECT_EQ(skin.settings.dpiValue[1], 0);
    skin.Click(M[41]);
    EXPECT_EQ(skin.settings.wheelStatus, 0);
    skin.Click(M[56]);
    EXPECT_EQ(skin.settings.dpiLevel.load(), 2);
    skin.Click(M[48]); // switch the current level off: the next enabled one becomes current
    EXPECT_EQ(skin.settings.dpiEnabled[2], 0);
    EXPECT_EQ(skin.settings.dpiLevel.load(), 3);
    skin.Click(M[56]); // a disabled level cannot be chosen
    EXPECT_EQ(skin.settings.dpiLevel.load(), 3);
    EXPECT_TRUE(skin.commands.calls.empty());
}

TEST(Pointer, CommonReleasesCallTheirOperations) {
    SyntheticSkin skin;
    const auto& M = skin.layout.mainElements;
    for (const int k : {3, 1, 19, 16, 17, 18, 13}) {
        skin.Click(M[static_cast<size_t>(k)]);
    }
    EXPECT_EQ(skin.commands.calls, (Calls{"UploadSettings", "FactoryReset", "SwitchLanguage 0",
                                          "SwitchLanguage 1", "HideToTray"}));
    EXPECT_EQ(skin.ui.hotMainElement, kNoElement) << "hiding clears the hot element";
}

TEST(Pointer, PressOnOneElementAndReleaseOnNothingDoesNotAct) {
    SyntheticSkin skin;
    const auto& M = skin.layout.mainElements;
    skin.Press(M[3]);
    QTest::mouseMove(skin.window.get(), {390, 290});
    QTest::mouseRelease(skin.window.get(), Qt::LeftButton, Qt::NoModifier, {390, 290});
    EXPECT_TRUE(skin.commands.calls.empty());
}

TEST(Pointer, ConfigurationButtonsLoadTheirSectionsAndHideUsesSix) {
    SyntheticSkin skin;
    WriteFile(skin.settings.configPath,
              "[Config3]\nDPI_LEVEL=2\nFIRE_TIME=77\n[Config6]\nDPI_LEVEL=1\nFIRE_TIME=5\n");
    skin.Click(skin.layout.mainElements[6]);
    EXPECT_EQ(skin.settings.currentConfig.load(), 3);
    EXPECT_EQ(skin.settings.fireTime, 77);
    EXPECT_EQ(skin.settings.dpiLevel.load(), 2);

    skin.Click(skin.layout.mainElements[2]);
    EXPECT_EQ(skin.commands.calls, Calls{"HideToTray"});
    // The DPI level is kept in configuration 6, then configuration 6 is loaded.
    EXPECT_EQ(skin.settings.dpiLevel.load(), 2);
    EXPECT_EQ(skin.settings.fireTime, 5);
}

TEST(Pointer, SaveWritesTheCurrentConfigurationOnTheMainPageOnly) {
    SyntheticSkin skin;
    skin.settings.currentConfig = 4;
    skin.settings.fireTime = 123;
    skin.Click(skin.layout.mainElements[0]);
    EXPECT_NE(ReadFile(skin.settings.configPath).find("[Config4]"), std::string::npos);
    std::filesystem::remove(skin.settings.configPath);
    skin.Click(skin.layout.mainElements[11]);
    skin.Click(skin.layout.mainElements[0]);
    EXPECT_FALSE(std::filesystem::exists(skin.settings.configPath));
}

TEST(Pointer, ASaveThatFailsSaysSoInTheInterfaceLanguage) {
    SyntheticSkin skin;
    skin.Click(skin.layout.mainElements[0]);
    EXPECT_TRUE(skin.messages.shown.empty()) << "a save that worked says nothing";
    for (const int32_t language : {0, 1}) {
        skin.settings.language = language;
        skin.settings.configPath = skin.dir / "no such folder" / "config.ini";
        skin.messages.shown.clear();
        skin.Click(skin.layout.mainElements[0]);
        ASSERT_EQ(skin.messages.shown.size(), 1u);
        EXPECT_EQ(skin.messages.shown[0],
                  NotSavedMessage(std::span(&skin.settings.configPath, 1), language));
    }
}

TEST(Pointer, ButtonSlotWarnsForTheOnlyLeftButton) {
    SyntheticSkin skin;
    const auto& M = skin.layout.mainElements;
    skin.settings.buttonFunction[0] = 1;
    skin.commands.warningResult = 2;
    skin.Click(M[25]);
    EXPECT_EQ(skin.commands.calls, Calls{"RunWarning"});
    EXPECT_FALSE(skin.ui.functionPopupOpen);
    EXPECT_EQ(skin.settings.selectedButton, 25);

    skin.commands.calls.clear();
    skin.Click(M[26]); // another slot: no warning
    EXPECT_EQ(skin.commands.calls, Calls{"OpenFunctionPopup"});
    EXPECT_TRUE(skin.ui.functionPopupOpen);
    const QPoint origin = skin.window->mapToGlobal(QPoint(M[26].x, M[26].y + M[26].height));
    EXPECT_EQ(skin.ui.popupOrigin[0], origin.x());
    EXPECT_EQ(skin.ui.popupOrigin[1], origin.y());

    skin.commands.calls.clear();
    skin.Click(M[27]); // an open popup closes before the next one opens
    EXPECT_EQ(skin.commands.calls, (Calls{"CloseFunctionPopup", "OpenFunctionPopup"}));
}

TEST(Pointer, MacroPageWidgetsLiveWhileThePageShows) {
    SyntheticSkin skin;
    const auto& M = skin.layout.mainElements;
    auto& controls = skin.window->MacroControls();
    EXPECT_FALSE(controls.MacroList().isVisible());
    skin.Click(M[10]);
    EXPECT_EQ(skin.commands.calls, Calls{"FillMacroList"});
    EXPECT_TRUE(controls.MacroList().isVisible());
    EXPECT_TRUE(controls.EventList().isVisible());
    EXPECT_EQ(controls.MacroNameEdit().geometry(), QRect(80, 140, 100, 20));
    EXPECT_EQ(controls.RepeatCountEdit().geometry(), QRect(10, 140, 60, 20));
    EXPECT_EQ(controls.EventList().palette().color(QPalette::Base), QColor(Qt::black));
    skin.Click(M[10]); // the tab of the page shown does nothing
    EXPECT_EQ(skin.commands.calls.size(), 1u);
    skin.Click(M[11]);
    EXPECT_EQ(skin.settings.currentPage, kLightPage);
    EXPECT_FALSE(controls.MacroList().isVisible());
    EXPECT_TRUE(skin.ui.ledPreviewRunning);
    skin.Click(M[9]);
    EXPECT_EQ(skin.settings.currentPage, kMainPage);
}

TEST(Pointer, MacroPagePresses) {
    SyntheticSkin skin;
    skin.window->ShowPage(kMacroPage);
    skin.commands.calls.clear();
    const auto& A = skin.layout.macroElements;
    for (const int j : {0, 1, 2, 3, 4, 5, 6}) {
        skin.Click(A[static_cast<size_t>(j)]);
    }
    EXPECT_EQ(skin.commands.calls, (Calls{"ImportMacros", "ExportMacros", "NewMacro", "DeleteMacro",
                                          "ToggleRecording", "SaveMacros", "ToggleRepeat"}));
    skin.Click(A[7]);
    EXPECT_EQ(skin.settings.macroMode.load(), 1);
    skin.Click(A[7]);
    EXPECT_EQ(skin.settings.macroMode.load(), 0);
    skin.Click(A[13]);
    EXPECT_EQ(skin.settings.pointerSpeed, 5);
    skin.Click(A[27]);
    EXPECT_EQ(skin.settings.wheelSpeed, 9);
    skin.settings.fireTime = 300;
    skin.Click(A[31]);
    EXPECT_EQ(skin.settings.fireTime, 300);
    skin.Click(A[32]);
    EXPECT_EQ(skin.settings.fireTime, 299);
    skin.settings.fireTime = 0;
    skin.Click(A[32]);
    EXPECT_EQ(skin.settings.fireTime, 0);
}

TEST(Pointer, LightPageSetsTheModeAndNothingForElementFour) {
    SyntheticSkin skin;
    skin.window->ShowPage(kLightPage);
    const auto& L = skin.layout.lightElements;
    skin.Click(L[3]);
    EXPECT_EQ(skin.settings.ledMode, 3);
    skin.Click(L[4]);
    EXPECT_EQ(skin.settings.ledMode, 3);
}

TEST(Pointer, PressOnNothingMovesTheWindowWithThePointer) {
    SyntheticSkin skin;
    const QPoint start = skin.window->pos();
    QTest::mouseMove(skin.window.get(), {390, 290});
    QTest::mousePress(skin.window.get(), Qt::LeftButton, Qt::NoModifier, {390, 290});
    EXPECT_FALSE(skin.ui.pointerPressed);
    // Offscreen has no system move: the window follows the pointer by itself.
    ASSERT_TRUE(skin.window->FollowingPointer());
    QMouseEvent drag(QEvent::MouseMove, QPointF(390, 290),
                     QPointF(skin.window->mapToGlobal(QPoint(390, 290)) + QPoint(30, 20)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(skin.window.get(), &drag);
    EXPECT_EQ(skin.window->pos(), start + QPoint(30, 20));
    QTest::mouseRelease(skin.window.get(), Qt::LeftButton, Qt::NoModifier, {390, 290});
    EXPECT_FALSE(skin.window->FollowingPointer());
}

TEST(Pointer, ClosingHidesToTheTrayAndNeverEndsTheWindow) {
    SyntheticSkin skin;
    EXPECT_FALSE(skin.window->close());
    EXPECT_EQ(skin.commands.calls, Calls{"HideToTray"});
    QTest::keyClick(skin.window.get(), Qt::Key_Escape);
    QTest::keyClick(skin.window.get(), Qt::Key_Return);
    EXPECT_TRUE(skin.window->isVisible());
}

// Where the desktop has no tray, the window's own menu is the only way to end the program.
// Every item is in the window's language.
TEST(Pointer, RightClickMenuEndsWithExitDriverInTheWindowsLanguage) {
    struct Case {
        uint8_t page;
        int32_t language;
        QStringList texts;
    };
    for (const Case& c : {Case{kMainPage,
                               kLanguageEnglish,
                               {"Mi&nimize", "&Close", "&About NUV_DEvora...", "Exit Driver"}},
                          Case{kLightPage,
                               kLanguageChinese,
                               {"最小化(&N)", "关闭(&C)", "关于 NUV_DEvora(&A)...", "关闭驱动"}}}) {
        SyntheticSkin skin;
        skin.settings.language = c.language;
        skin.window->ShowPage(c.page);
        skin.commands.calls.clear();
        QStringList texts;
        QTimer chooser;
        QObject::connect(&chooser, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr || menu->actions().isEmpty()) {
                return;
            }
            for (const QAction* action : menu->actions()) {
                if (!action->isSeparator()) {
                    texts << action->text();
                }
            }
            menu->actions().back()->trigger();
            menu->close();
        });
        chooser.start(5);
        QTest::mouseClick(skin.window.get(), Qt::RightButton, Qt::NoModifier, {390, 290});
        EXPECT_EQ(texts, c.texts) << "page " << int(c.page);
        EXPECT_EQ(skin.commands.calls, Calls{"ExitProgram"}) << "page " << int(c.page);
    }
}

TEST(Pointer, WithoutAMaskTheWindowKeepsItsOwnSizeAndNoOutline) {
    SyntheticSkin skin;
    CNUV_DEvoraDlg unshaped(skin.Context(), skin.widgets, skin.commands);
    unshaped.ApplyShape(MaskShape{});
    EXPECT_EQ(unshaped.size(), QSize(800, 642));
    EXPECT_TRUE(unshaped.mask().isEmpty());
    EXPECT_TRUE(unshaped.MacroRepaintRegion().contains(QPoint(790, 600)));
    EXPECT_FALSE(unshaped.MacroRepaintRegion().contains(QPoint(20, 210))) << "macro list";
}

TEST(LedPreview, RestsWhileTheWindowIsHiddenOrMinimised) {
    SyntheticSkin skin;
    skin.Click(skin.layout.mainElements[11]); // the light page
    ASSERT_TRUE(skin.ui.ledPreviewRunning);
    skin.window->hide();
    EXPECT_FALSE(skin.ui.ledPreviewRunning) << "hidden to the tray: no timer";
    skin.window->show();
    EXPECT_TRUE(skin.ui.ledPreviewRunning) << "shown again on the light page";
    skin.window->setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(skin.ui.ledPreviewRunning) << "minimised";
    skin.window->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(skin.ui.ledPreviewRunning);
    skin.Click(skin.layout.mainElements[9]); // the main page
    skin.window->hide();
    skin.window->show();
    EXPECT_FALSE(skin.ui.ledPreviewRunning) << "only the light page has a preview";
}

TEST(LedPreview, PhasesFollowTheAppliedMode) {
    Settings settings;
    InterfaceState ui;
    int repaints = 0;
    LedPreview preview(settings, ui, [&] { ++repaints; });
    settings.currentPage = kMainPage;
    preview.StartLedPreview();
    EXPECT_FALSE(ui.ledPreviewRunning) << "not on the light page: ends at once";

    settings.currentPage = kLightPage;
    settings.dpiLevel = 1;
    settings.appliedLedMode = 0;
    preview.StartLedPreview();
    EXPECT_TRUE(ui.ledPreviewRunning);
    EXPECT_TRUE(ui.ledPreviewDark) << "first phase: dark, next colour";
    EXPECT_EQ(ui.ledPreviewColour, 2);
    EXPECT_EQ(preview.NextPhase().wait, 1200);
    EXPECT_FALSE(ui.ledPreviewDark);

    settings.dpiLevel = 3; // a level change shows the new colour for 2 s first
    const auto phase = preview.NextPhase();
    EXPECT_EQ(phase.firstWait, 2000);
    EXPECT_EQ(ui.ledPreviewColour, 3);
    EXPECT_FALSE(ui.ledPreviewDark);

    settings.appliedLedMode = 3;
    EXPECT_EQ(preview.NextPhase().wait, 1200);
    EXPECT_TRUE(ui.ledPreviewDark);
    settings.appliedLedMode = 1;
    EXPECT_EQ(preview.NextPhase().wait, 800);
    settings.appliedLedMode = 2;
    preview.NextPhase();
    EXPECT_FALSE(ui.ledPreviewDark);
    EXPECT_EQ(ui.ledPreviewColour, 3);

    preview.StartLedPreview(); // still running: no second run
    settings.currentPage = kMainPage;
    QTRY_VERIFY_WITH_TIMEOUT(!ui.ledPreviewRunning, 5000);
    EXPECT_GT(repaints, 0);
}

} // namespace
} // namespace xk::test
