#include "SyntheticSkin.h"

#include "macro/EventList.h"
#include "macro/KeyCodes.h"
#include "macro/MacroFile.h"
#include "macro/MacroList.h"
#include "macro/Recording.h"
#include "settings/TextCodec.h"
#include "ui/CNuvMenu.h"
#include "ui/EventMenu.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace xk::test {
namespace {

// One step in an open menu: a key, or a click on the item with this text.
struct Step {
    Qt::Key key = Qt::Key_unknown;
    const char* text = nullptr;
};

// Plays `steps` into the menu that opens, one at a time: each goes to the menu reached so far
// (a step into an item with a submenu reaches the submenu). A menu left open is closed.
class MenuDriver {
public:
    explicit MenuDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Next(); });
        timer_.start(5);
    }
    bool Opened() const { return opened_; }

private:
    void Next() {
        if (current_ == nullptr) {
            current_ = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            opened_ = current_ != nullptr;
        }
        if (current_ == nullptr || !current_->isVisible()) {
            return;
        }
        if (next_ == steps_.size()) {
            current_->close();
            return;
        }
        const Step& step = steps_[next_++];
        QAction* action = current_->activeAction();
        if (step.text == nullptr) {
            QTest::keyClick(current_, step.key);
        } else {
            action = nullptr;
            for (QAction* a : current_->actions()) {
                if (a->text() == QString::fromUtf8(step.text)) {
                    action = a;
                }
            }
            if (action == nullptr) {
                ADD_FAILURE() << "no item " << step.text;
                current_->close();
                return;
            }
            QTest::mouseClick(current_, Qt::LeftButton, {},
                              current_->actionGeometry(action).center());
        }
        const bool enters =
            step.text != nullptr || step.key == Qt::Key_Right || step.key == Qt::Key_Return;
        if (enters && action != nullptr && action->menu() != nullptr) {
            current_ = action->menu();
        }
    }

    std::vector<Step> steps_;
    size_t next_ = 0;
    QTimer timer_;
    QMenu* current_ = nullptr;
    bool opened_ = false;
};

// The macro page of the synthetic skin with one macro: A down, 100 ms, A up, 120 ms, B down.
class MacroPageTest : public ::testing::Test {
protected:
    MacroPageTest() {
        QApplication::instance()->installEventFilter(skin.window.get());
        skin.window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(skin.window.get()));
        MacroSlot& slot = skin.macros.userMacros[0];
        slot.SetName(u"m");
        slot.SetRepeatCount(1);
        const MacroSlot::Event events[] = {
            {4, kActionPress}, {4, kActionRelease}, {5, kActionPress}};
        const uint16_t delays[] = {100, 120, 30};
        for (size_t k = 0; k < 3; ++k) {
            slot.events[k] = events[k];
            slot.SetDelay(k, delays[k]);
        }
        slot.eventCount = 3;
        skin.macros.userMacroCount = 1;
        skin.window->ShowPage(kMacroPage);
        FillMacroList(skin.macroPage);
        skin.commands.calls.clear();
        menu.Load(1, style);
    }
    ~MacroPageTest() override { QApplication::instance()->removeEventFilter(skin.window.get()); }

    CEditableListBox& List() { return skin.window->MacroControls().EventList(); }
    // The centre of a line, scrolled into view, on the screen.
    QPoint Line(int line) {
        List().scrollToItem(List().item(line));
        const QRect rect = List().visualItemRect(List().item(line));
        return List().viewport()->mapToGlobal(rect.center());
    }
    // A right click at `pointer`; the menu then gets `steps`. Answers whether a menu opened.
    bool RightClick(QPoint pointer, std::vector<Step> steps) {
        MenuDriver driver(std::move(steps));
        menu.Open(skin.macroPage, List(), pointer);
        QCoreApplication::processEvents();
        return driver.Opened();
    }
    std::string Events() const {
        const MacroSlot& slot = skin.macros.userMacros[0];
        std::string events;
        for (size_t k = 0; k < slot.eventCount; ++k) {
            events += KeyName(slot.events[k].keyCode) +
                      (slot.events[k].action == kActionPress ? "v " : "^ ");
        }
        return events;
    }

    SyntheticSkin skin;
    CNuvMenu style;
    EventMenu menu;
};

TEST_F(MacroPageTest, AClickInTheMacroListSelectsThatMacro) {
    skin.widgets.SetMacroSelectedHandler([this] { SelectMacro(skin.macroPage); });
    MacroSlot& second = skin.macros.userMacros[1];
    second = MacroSlot{};
    second.SetName(u"n");
    second.events[0] = {7, kActionPress};
    second.eventCount = 1;
    skin.macros.userMacroCount = 2;
    skin.macros.currentMacro = 0;
    FillMacroList(skin.macroPage);
    QListWidget& macros = skin.window->MacroControls().MacroList();
    const QPoint line1 = macros.visualItemRect(macros.item(1)).center();
    QTest::mouseClick(macros.viewport(), Qt::LeftButton, {}, line1);
    EXPECT_EQ(skin.macros.currentMacro, 1);
    EXPECT_EQ(skin.window->MacroControls().MacroNameEdit().text(), QStringLiteral("n"));
    ASSERT_EQ(List().count(), 1);
    EXPECT_EQ(List().item(0)->text(), QStringLiteral("[↓]D"));
    // A control-click does not leave the list without a selected macro.
    QTest::mouseClick(macros.viewport(), Qt::LeftButton, Qt::ControlModifier, line1);
    EXPECT_EQ(skin.widgets.SelectedMacroLine(), 1);
    skin.widgets.SetMacroSelectedHandler({});
}

TEST_F(MacroPageTest, ARightButtonReleaseAnywhereOnThePageReachesTheEventMenu) {
    QWindow* window = skin.window->windowHandle();
    const auto at = [&](QWidget& w) { return w.mapTo(skin.window.get(), w.rect().center()); };
    // The event list keeps its own releases; the macro list and the page itself do not.
    for (const QPoint p :
         {at(*List().viewport()), at(skin.window->MacroControls().MacroList()), QPoint(390, 290)}) {
        QTest::mouseClick(window, Qt::RightButton, {}, p);
        QCoreApplication::processEvents();
    }
    QTest::mouseClick(window, Qt::LeftButton, {}, at(*List().viewport()));
    QCoreApplication::processEvents();
    EXPECT_EQ(skin.commands.calls, std::vector<std::string>(3, "OpenEventMenu"));

    skin.commands.calls.clear();
    ToggleRecording(skin.macroPage);
    QTest::mouseClick(window, Qt::RightButton, {}, at(*List().viewport()));
    QCoreApplication::processEvents();
    EXPECT_TRUE(skin.commands.calls.empty()) << "not while recording";
    ToggleRecording(skin.macroPage);
}

TEST_F(MacroPageTest, InsertAndDeleteChosenWithThePointerOrTheKeys) {
    struct Case {
        int line;
        std::vector<Step> steps;
        std::string events;
    };
    const Case cases[] = {
        {2, {{{}, "Add Forward"}, {{}, "Left Button"}, {{}, "Down "}}, "Av L-KEYv A^ Bv "},
        {3,
         {{Qt::Key_Down},
          {Qt::Key_Down},
          {Qt::Key_Right},
          {Qt::Key_Down},
          {Qt::Key_Down},
          {Qt::Key_Right},
          {Qt::Key_Down},
          {Qt::Key_Return}},
         "Av A^ M-KEY^ Bv "},
        {0, {{Qt::Key_Up}, {Qt::Key_Return}}, "A^ Bv "},
    };
    for (const Case& c : cases) {
        MacroSlot saved = skin.macros.userMacros[0];
        EXPECT_TRUE(RightClick(Line(c.line), c.steps));
        EXPECT_EQ(Events(), c.events) << c.line;
        skin.macros.userMacros[0] = saved;
        RebuildEventList(skin.macroPage, 0);
    }
    // Below the last line no menu opens.
    const QRect last = List().visualItemRect(List().item(4));
    EXPECT_FALSE(
        RightClick(List().viewport()->mapToGlobal(last.center() + QPoint(0, last.height())), {}));
}

TEST_F(MacroPageTest, ModifyDelayEditsTheDelayLineInPlace) {
    const std::pair<const char*, uint16_t> typed[] = {{"250", 250}, {"75ms", 75}};
    for (const auto& [text, delay] : typed) {
        RightClick(Line(1), {{Qt::Key_Up}, {Qt::Key_Up}, {Qt::Key_Return}});
        CEditHelper* edit = List().Edit();
        ASSERT_NE(edit, nullptr);
        EXPECT_TRUE(edit->hasFocus());
        QTest::keyClicks(edit, QString::fromUtf8(text));
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(skin.macros.userMacros[0].Delay(0), delay) << text;
        EXPECT_EQ(List().item(1)->text(), QStringLiteral("    %1ms").arg(delay));
    }
    RightClick(Line(1), {{Qt::Key_Up}, {Qt::Key_Up}, {Qt::Key_Return}});
    ASSERT_NE(List().Edit(), nullptr);
    QTest::keyClicks(List().Edit(), QStringLiteral("9"));
    QTest::keyClick(List().Edit(), Qt::Key_Escape);
    EXPECT_EQ(List().Edit(), nullptr);
    EXPECT_EQ(skin.macros.userMacros[0].Delay(0), 75);
    EXPECT_EQ(List().item(1)->text(), QStringLiteral("    75ms"));

    RightClick(Line(2), {{Qt::Key_Up}, {Qt::Key_Up}, {Qt::Key_Return}});
    EXPECT_EQ(List().Edit(), nullptr) << "a key line has no delay to edit";
}

// A second macro "n": C down, 25 ms, C up.
MacroSlot& AddSecondMacro(MacroStore& store) {
    MacroSlot& second = store.userMacros[1];
    second = MacroSlot{};
    second.SetName(u"n");
    second.events[0] = {6, kActionPress};
    second.events[1] = {6, kActionRelease};
    second.SetDelay(0, 25);
    second.SetDelay(1, 30);
    second.eventCount = 2;
    store.userMacroCount = 2;
    return second;
}

TEST_F(MacroPageTest, CtrlATypedIntoTheEventListOpensNoEdit) {
    AddSecondMacro(skin.macros);
    FillMacroList(skin.macroPage);
    RightClick(Line(1), {}); // on the delay line of "m", no command chosen
    skin.widgets.SelectMacroLine(1);
    SelectMacro(skin.macroPage);
    List().setFocus();
    // Ctrl+A as X delivers it: the key A with Control, its text character code 1.
    QKeyEvent ctrlA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, 38, 0x61, 0x4,
                    QString(QChar(1)));
    QApplication::sendEvent(&List(), &ctrlA);
    EXPECT_EQ(List().Edit(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(skin.macros.userMacros[0].Delay(0), 100);
    EXPECT_EQ(skin.macros.userMacros[1].Delay(0), 25);
    ASSERT_EQ(List().count(), 3);
    EXPECT_EQ(List().item(0)->text(), QStringLiteral("[↓]C")) << "the shown macro's events";
}

// The edit is open over the delay of "m" with 999 typed; then what is shown changes, and Enter
// follows.
TEST_F(MacroPageTest, ADelayEditClosesUnwrittenWhenTheShownMacrosChange) {
    MacroStore imported;
    imported.userMacros[0].SetName(u"x");
    imported.userMacros[0].events[0] = {7, kActionPress};
    imported.userMacros[0].events[1] = {7, kActionRelease};
    imported.userMacros[0].SetDelay(0, 40);
    imported.userMacros[0].eventCount = 2;
    imported.userMacroCount = 1;
    const std::filesystem::path file = skin.dir / "imported.dat";
    ASSERT_TRUE(SaveMacroFile(file, imported));

    const std::pair<const char*, std::function<void()>> changes[] = {
        {"another macro selected",
         [&] {
             skin.widgets.SelectMacroLine(1);
             SelectMacro(skin.macroPage);
         }},
        // As the import, the reset, the language switch and xk-r40-ctl replace them.
        {"the macros replaced",
         [&] {
             LoadUserMacros(skin.macroPage, file);
             FillMacroList(skin.macroPage);
         }},
    };
    const MacroSlot first = skin.macros.userMacros[0];
    for (const auto& [name, change] : changes) {
        skin.macros.userMacros[0] = first;
        AddSecondMacro(skin.macros);
        skin.macros.currentMacro = 0;
        FillMacroList(skin.macroPage);
        RightClick(Line(1), {{Qt::Key_Up}, {Qt::Key_Up}, {Qt::Key_Return}});
        ASSERT_NE(List().Edit(), nullptr) << name;
        QTest::keyClicks(List().Edit(), QStringLiteral("999"));
        change();
        EXPECT_EQ(List().Edit(), nullptr) << name;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        for (const MacroSlot& slot : skin.macros.userMacros) {
            for (size_t k = 0; k < slot.eventCount; ++k) {
                EXPECT_NE(slot.Delay(k), 999) << name << ": " << Utf8FromUtf16(slot.Name());
            }
        }
        const auto shown = static_cast<size_t>(skin.macros.currentMacro);
        const uint16_t delay = skin.macros.userMacros[shown].Delay(0);
        EXPECT_EQ(List().item(1)->text(), QStringLiteral("    %1ms").arg(delay)) << name;
    }
}

} // namespace
} // namespace xk::test
