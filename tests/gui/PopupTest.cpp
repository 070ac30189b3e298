#include "SyntheticSkin.h"

#include "ui/CMenuDlg.h"
#include "ui/CSubMenuDlg.h"
#include "ui/WarningDlg.h"
#include "ui/layout/PopupRows.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace xk::test {
namespace {

constexpr int h = kPopupRowHeight;

// The window a pointer leads to; a test that finds none ends the run.
template <typename W> W& Live(W* w) {
    if (w == nullptr) {
        std::abort();
    }
    return *w;
}

// Where the popup opens: beside the main window, since the offscreen platform gives a pointer
// position to the first window there.
constexpr QPoint kOrigin(410, 310);

// A function popup opened for one button at kOrigin on the synthetic skin.
struct PopupFixture {
    SyntheticSkin skin;
    int assigned = 0;
    QPointer<CMenuDlg> popup;

    explicit PopupFixture(int button, std::initializer_list<const char16_t*> macros = {}) {
        for (const char16_t* name : macros) {
            skin.macros.userMacros[static_cast<size_t>(skin.macros.userMacroCount++)].SetName(name);
        }
        for (int b = 0; b < kButtonCount; ++b) {
            skin.settings.buttonFunction[static_cast<size_t>(b)].store(b == 5 ? 1 : 2);
        }
        skin.settings.selectedButton = 25 + button;
        popup = new CMenuDlg(skin.Context(), *skin.window, [this] { ++assigned; });
        QCursor::setPos(0, 599); // the pointer starts on no window
        popup->move(kOrigin);
        popup->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(popup.data()));
    }

    static QPoint RowCentre(int row, int width = kPopupWidth) {
        return {width / 2, (row - 1) * h + h / 2};
    }
    void PointAt(int row) { QTest::mouseMove(popup.data(), RowCentre(row)); }
    CMenuDlg& Popup() { return Live(popup.data()); }
    CSubMenuDlg* Sub() { return Popup().SubPopup(); }
    void ClickSub(int row) {
        CSubMenuDlg* sub = &Live(Sub());
        const QPoint at = RowCentre(row, kSubPopupWidth);
        QTest::mouseMove(sub, at);
        QTest::mouseClick(sub, Qt::LeftButton, Qt::NoModifier, at);
    }
    int32_t Function(int button) const {
        return skin.settings.buttonFunction[static_cast<size_t>(button)].load();
    }
    static void DeleteLater() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST(FunctionPopup, SizedByItsMaskAndDrawnFromItsPictures) {
    PopupFixture f(2);
    EXPECT_EQ(f.Popup().size(), QSize(kPopupWidth, 10 * h + 1));
    EXPECT_EQ(f.Popup().windowTitle(), QStringLiteral("MainMenuDlg"));
    EXPECT_EQ(f.skin.ui.popupRow, kNoElement);
    f.PointAt(4);
    EXPECT_EQ(f.skin.ui.popupRow, 4);
    const QImage image = f.Popup().grab().toImage();
    EXPECT_TRUE(Near(image.pixelColor(3, 3 * h + 2), kOver)) << "the row under the pointer";
    EXPECT_TRUE(Near(image.pixelColor(3, 2 * h + 2), kPopupNormal));
    QTest::mousePress(f.popup.data(), Qt::LeftButton, Qt::NoModifier, f.RowCentre(4));
    EXPECT_TRUE(Near(f.Popup().grab().toImage().pixelColor(3, 3 * h + 2), kDown));
    QTest::mouseMove(f.popup.data(), {10, 10 * h}); // the last pixel line belongs to row 11
    EXPECT_EQ(f.skin.ui.popupRow, 11);
}

TEST(FunctionPopup, GroupRowsOpenTheirSubPopupLevelWithTheRow) {
    struct Case {
        int row;
        int rows;
        int firstCode; // what sub-row 1 assigns
    };
    for (const Case c : {Case{7, 6, 11}, Case{8, 10, 21}, Case{9, 3, 41}, Case{10, 8, 31}}) {
        PopupFixture f(2, {u"alpha", u"beta", u"gamma"});
        f.PointAt(c.row);
        ASSERT_NE(f.Sub(), nullptr) << c.row;
        CSubMenuDlg* sub = &Live(f.Sub());
        EXPECT_EQ(f.skin.ui.subPopupRows, c.rows) << c.row;
        EXPECT_EQ(sub->size(), QSize(kSubPopupWidth, c.rows * h + 1)) << c.row;
        EXPECT_EQ(sub->pos().x(), kOrigin.x() + kPopupWidth) << c.row;
        EXPECT_EQ(sub->pos().y() + c.rows * h, kOrigin.y() + c.row * h)
            << "the last row lines up with popup row " << c.row;
        if (c.row == 9) {
            EXPECT_EQ(sub->RowText(1), QStringLiteral("alpha"));
            EXPECT_EQ(sub->RowText(3), QStringLiteral("gamma"));
        } else {
            EXPECT_EQ(sub->RowText(1), QStringLiteral("F%1").arg(c.firstCode)) << c.row;
        }
        f.ClickSub(1);
        EXPECT_EQ(f.Function(2), c.firstCode) << c.row;
        EXPECT_EQ(f.skin.ui.lastSubCode, c.firstCode);
    }
}

TEST(FunctionPopup, ASubPopupChoiceClosesThePopupThroughTheMainWindowsPaint) {
    PopupFixture f(2);
    f.PointAt(7);
    f.ClickSub(3);
    EXPECT_EQ(f.Function(2), 13);
    EXPECT_TRUE(f.skin.ui.assignmentDone);
    EXPECT_FALSE(f.Popup().isVisible()) << "the popup hides at once";
    EXPECT_EQ(f.assigned, 1) << "the main window is asked to repaint";
    f.skin.window->repaint();
    EXPECT_FALSE(f.skin.ui.assignmentDone);
    EXPECT_TRUE(f.skin.commands.calls.empty()) << "nothing is closed inside the paint";
    QCoreApplication::processEvents();
    EXPECT_EQ(f.skin.commands.calls, std::vector<std::string>{"CloseFunctionPopup"});
}

TEST(FunctionPopup, DirectRowsAssignAndCloseGroupRowsDoNot) {
    PopupFixture f(5); // button 5 is the only left button
    f.PointAt(8);
    QTest::mouseClick(f.popup.data(), Qt::LeftButton, Qt::NoModifier, f.RowCentre(8));
    EXPECT_EQ(f.Function(5), 1) << "a group row assigns nothing";
    EXPECT_TRUE(f.Popup().isVisible());
    EXPECT_NE(f.Sub(), nullptr) << "the group stays open after the click";

    f.PointAt(2);
    f.DeleteLater();
    EXPECT_EQ(f.Sub(), nullptr) << "pointing at a direct row closes the sub-popup";
    QTest::mouseClick(f.popup.data(), Qt::LeftButton, Qt::NoModifier, f.RowCentre(2));
    EXPECT_EQ(f.Function(5), 2);
    EXPECT_EQ(f.Function(6), 1) << "the next button becomes the left button";
    EXPECT_EQ(f.assigned, 1);
    f.DeleteLater();
    EXPECT_TRUE(f.popup.isNull()) << "the popup is gone after a direct choice";
}

TEST(FunctionPopup, HidingThePopupHidesItsSubPopup) {
    PopupFixture f(2);
    f.PointAt(8);
    QPointer<CSubMenuDlg> sub = f.Sub();
    ASSERT_TRUE(sub && Live(sub.data()).isVisible());
    f.Popup().hide(); // as the main window closes it, maybe under a modal warning
    EXPECT_TRUE(sub.isNull() || !Live(sub.data()).isVisible());
}

TEST(FunctionPopup, NoUserMacrosGiveAnEmptySubPopup) {
    PopupFixture f(2);
    f.PointAt(9);
    ASSERT_NE(f.Sub(), nullptr);
    EXPECT_EQ(f.skin.ui.subPopupRows, 0);
    EXPECT_EQ(Live(f.Sub()).WindowHeight(), 0);
    EXPECT_FALSE(Live(f.Sub()).isVisible());
    EXPECT_EQ(f.Function(2), 2);
}

TEST(FunctionPopup, AMacroAddedWhileOpenShowsNextTime) {
    PopupFixture f(2, {u"one"});
    f.PointAt(9);
    EXPECT_EQ(f.skin.ui.subPopupRows, 1);
    f.skin.macros.userMacros[1].SetName(u"two");
    f.skin.macros.userMacroCount = 2;
    f.PointAt(8);
    f.PointAt(9);
    EXPECT_EQ(f.skin.ui.subPopupRows, 2);
    EXPECT_EQ(Live(f.Sub()).RowText(2), QStringLiteral("two"));
    f.ClickSub(2);
    EXPECT_EQ(f.Function(2), 42);
}

TEST(WarningDialog, AnswersConfirmCancelAndEscapeAndShowsTheHighlight) {
    struct Case {
        const char* what;
        int element; // -1: press Escape instead
        int result;
    };
    for (const Case c :
         {Case{"confirm", 0, WarningDlg::kConfirm}, Case{"cancel", 1, WarningDlg::kCancel},
          Case{"Escape", -1, WarningDlg::kCancel}}) {
        SyntheticSkin skin;
        skin.ui.popupOrigin = {kOrigin.x(), kOrigin.y()};
        WarningDlg dialog(skin.Context(), skin.window.get());
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_EQ(dialog.size(), QSize(kWarningWidth, kWarningHeight));
        EXPECT_FALSE(dialog.mask().contains(QPoint(5, 5))) << "shaped by its mask";
        EXPECT_EQ(dialog.pos(), kOrigin);

        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible()) << "Enter does nothing";
        if (c.element < 0) {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        } else {
            const Element& e = skin.layout.warningElements[static_cast<size_t>(c.element)];
            QTest::mouseMove(&dialog, SyntheticSkin::Centre(e));
            EXPECT_EQ(skin.ui.warningChoice, c.element + 1);
            const QImage image = dialog.grab().toImage();
            EXPECT_TRUE(Near(image.pixelColor(e.x + 2, e.y + 2), kOver)) << c.what;
            const Element& other = skin.layout.warningElements[static_cast<size_t>(1 - c.element)];
            EXPECT_TRUE(Near(image.pixelColor(other.x + 2, other.y + 2), kWarningNormal));
            QTest::mouseClick(&dialog, Qt::LeftButton, Qt::NoModifier, SyntheticSkin::Centre(e));
        }
        EXPECT_FALSE(dialog.isVisible()) << c.what;
        EXPECT_EQ(dialog.result(), c.result) << c.what;
    }
}

// The pointer may rest where the warning opens, so no move reaches it before a click: the
// highlight comes from where the pointer lies when it shows, whatever the last showing chose,
// and a release answers by the button under it.
TEST(WarningDialog, HighlightStartsWhereThePointerRestsAndOnlyTheButtonReleasedOnAnswers) {
    struct Case {
        const char* what;
        int element; // where the pointer rests when the dialog shows; -1: beside it
        int shown;   // the highlight then
    };
    for (const Case c :
         {Case{"on confirm", 0, WarningDlg::kConfirm}, Case{"on cancel", 1, WarningDlg::kCancel},
          Case{"beside it", -1, kNoElement}}) {
        SyntheticSkin skin;
        skin.ui.popupOrigin = {kOrigin.x(), kOrigin.y()};
        skin.ui.warningChoice = WarningDlg::kConfirm; // the last showing's answer
        const auto& W = skin.layout.warningElements;
        const QPoint rest = c.element < 0
                                ? QPoint(-5, -5)
                                : SyntheticSkin::Centre(W[static_cast<size_t>(c.element)]);
        QCursor::setPos(kOrigin + rest);
        WarningDlg dialog(skin.Context(), skin.window.get());
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_EQ(skin.ui.warningChoice, c.shown) << c.what;
        const QImage image = dialog.grab().toImage();
        for (const int i : {0, 1}) {
            const Element& e = W[static_cast<size_t>(i)];
            EXPECT_TRUE(
                Near(image.pixelColor(e.x + 2, e.y + 2), c.shown == i + 1 ? kOver : kWarningNormal))
                << c.what << ", button " << i;
        }
        // Clicks without a move first: over the message nothing, over cancel the cancel.
        QTest::mouseClick(&dialog, Qt::LeftButton, Qt::NoModifier, SyntheticSkin::Centre(W[2]));
        EXPECT_TRUE(dialog.isVisible()) << c.what;
        QTest::mouseClick(&dialog, Qt::LeftButton, Qt::NoModifier, SyntheticSkin::Centre(W[1]));
        EXPECT_FALSE(dialog.isVisible()) << c.what;
        EXPECT_EQ(dialog.result(), WarningDlg::kCancel) << c.what;
    }
}

// A press on a button slot or a popup row holds the pointer: dragged onto a popup row (or on
// into the sub-popup) and released, the row is chosen as in a drop-down list, and nothing of
// the main window lying under the popups acts.
TEST(FunctionPopup, PressDragAndReleaseChoosesTheRowNotWhatLiesUnderIt) {
    enum Holder { kMainWindow, kPopup };
    struct Case {
        const char* what;
        Holder holder;
        int row;      // the popup row dragged onto, placed over main element `under`
        int under;    // 2 hide, 3 apply
        int subRow;   // then on into this sub-popup row; 0: released on the popup row
        int function; // button 6 afterwards
        bool open;    // the popup still shows
    };
    for (const Case c : {Case{"direct row over Apply", kMainWindow, 6, 3, 0, 6, false},
                         Case{"group row over Hide", kMainWindow, 10, 2, 0, 2, true},
                         Case{"into the sub-popup", kMainWindow, 7, 2, 3, 13, false},
                         Case{"from a group row", kPopup, 7, 3, 3, 13, false}}) {
        PopupFixture f(6); // on slot 31, which the popup leaves uncovered
        CNUV_DEvoraDlg& window = *f.skin.window;
        const auto& M = f.skin.layout.mainElements;
        const QPoint under =
            window.mapToGlobal(SyntheticSkin::Centre(M[static_cast<size_t>(c.under)]));
        f.Popup().move(under - f.RowCentre(c.row));
        QWidget* holder = &window;
        if (c.holder == kMainWindow) {
            f.skin.Press(M[31]);
        } else {
            holder = f.popup.data();
            QTest::mousePress(holder, Qt::LeftButton, Qt::NoModifier, f.RowCentre(c.row));
        }
        const auto drag = [&](QPoint global) {
            QTest::mouseMove(holder, holder->mapFromGlobal(global));
        };
        drag(under);
        EXPECT_EQ(f.skin.ui.popupRow, c.row) << c.what;
        EXPECT_EQ(f.skin.ui.hotMainElement, kNoElement) << c.what << ": covered by the popup";
        QPoint release = under;
        if (c.subRow != 0) {
            if (f.Sub() == nullptr) {
                ADD_FAILURE() << c.what << ": the group row opened no sub-popup";
                QTest::mouseRelease(holder, Qt::LeftButton, Qt::NoModifier,
                                    holder->mapFromGlobal(under));
                continue;
            }
            const QPointer<CSubMenuDlg> sub = f.Sub();
            release = sub->mapToGlobal(f.RowCentre(c.subRow, kSubPopupWidth));
            drag(under + QPoint(kPopupWidth, 0)); // across, level with the row
            drag(release);
            const CSubMenuDlg* const still = sub.data();
            EXPECT_TRUE(still != nullptr && still->SubPopupRow() == c.subRow)
                << c.what << ": the sub-popup's row";
        }
        QTest::mouseRelease(holder, Qt::LeftButton, Qt::NoModifier, holder->mapFromGlobal(release));
        EXPECT_EQ(f.Function(6), c.function) << c.what;
        for (const std::string& call : f.skin.commands.calls) {
            EXPECT_TRUE(call != "UploadSettings" && call != "HideToTray") << c.what << ": " << call;
        }
        EXPECT_EQ(!f.popup.isNull() && f.Popup().isVisible(), c.open) << c.what;
        if (c.open) {
            EXPECT_TRUE(f.Sub() != nullptr && Live(f.Sub()).isVisible()) << c.what;
        }
    }
}

} // namespace
} // namespace xk::test
