#include "ui/CEditableListBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

namespace xk::test {
namespace {

// A shown list of 30 lines, line 3 selected, beside another widget that can take the focus.
class EditableListBoxTest : public ::testing::Test {
protected:
    EditableListBoxTest() {
        list = new CEditableListBox(&top);
        other = new QLineEdit(&top);
        list->setGeometry(0, 0, 200, 120);
        other->setGeometry(0, 130, 200, 20);
        for (int i = 0; i < 30; ++i) {
            list->addItem(QStringLiteral("    %1ms").arg(i));
        }
        list->setCurrentRow(3);
        top.resize(220, 160);
        top.show();
        top.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&top));
        list->setFocus();
    }
    // Opens the edit over line 3 and types `text` over its selected text.
    CEditHelper* EditLine3(const QString& text) {
        list->BeginEdit();
        CEditHelper* edit = list->Edit();
        if (edit != nullptr) {
            QTest::keyClicks(edit, text);
        }
        return edit;
    }

    QWidget top;
    CEditableListBox* list;
    QLineEdit* other;
};

TEST_F(EditableListBoxTest, BeginEditOpensTheEditOverTheSelectedLineNoTypedKeyDoes) {
    // A letter, and Ctrl+A, which comes as character code 1.
    for (const auto& [key, modifiers, text] :
         {std::tuple{Qt::Key_A, Qt::KeyboardModifiers{}, QStringLiteral("a")},
          std::tuple{Qt::Key_A, Qt::KeyboardModifiers{Qt::ControlModifier}, QString(QChar(1))}}) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, 38, 0x61, 0, text);
        QApplication::sendEvent(list, &press);
        EXPECT_EQ(list->Edit(), nullptr) << "typed: " << text.toStdString();
    }
    list->BeginEdit();
    const CEditHelper* edit = list->Edit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(list->EditLine(), 3);
    EXPECT_EQ(edit->text(), QStringLiteral("    3ms"));
    EXPECT_EQ(edit->selectedText(), edit->text());
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->font(), list->font());
    const QRect line = list->visualItemRect(list->item(3));
    EXPECT_EQ(edit->geometry(), line.adjusted(0, -2, 0, 2));

    list->EndEdit(false);
    list->clearSelection();
    list->BeginEdit();
    EXPECT_EQ(list->Edit(), nullptr) << "no selected line, no edit";
}

TEST_F(EditableListBoxTest, EnterReplacesTheLineEscapeKeepsItBothNotifyTheClose) {
    struct Case {
        Qt::Key key;
        QString typed;
        QString line3;
        int changes;
    };
    const Case cases[] = {
        {Qt::Key_Return, QStringLiteral("250"), QStringLiteral("250"), 1},
        {Qt::Key_Enter, QStringLiteral("    250"), QStringLiteral("    250"), 1},
        {Qt::Key_Escape, QStringLiteral("999"), QStringLiteral("    3ms"), 0},
        {Qt::Key_Return, QStringLiteral("    3ms"), QStringLiteral("    3ms"), 0}, // unchanged
    };
    for (const Case& c : cases) {
        list->item(3)->setText(QStringLiteral("    3ms"));
        list->setCurrentRow(3);
        QSignalSpy closed(list, &CEditableListBox::editClosed);
        QSignalSpy changedSpy(list, &CEditableListBox::editChanged);
        CEditHelper* edit = EditLine3(c.typed);
        ASSERT_NE(edit, nullptr);
        QTest::keyClick(edit, c.key);
        EXPECT_EQ(list->Edit(), nullptr) << c.typed.toStdString();
        EXPECT_EQ(list->count(), 30);
        EXPECT_EQ(list->item(3)->text(), c.line3);
        EXPECT_EQ(list->currentRow(), 3);
        EXPECT_EQ(closed.count(), 1);
        ASSERT_EQ(changedSpy.count(), c.changes);
        if (c.changes == 1) {
            EXPECT_EQ(changedSpy[0][0].toInt(), 3);
            EXPECT_EQ(changedSpy[0][1].toString(), QStringLiteral("    3ms"));
        }
        EXPECT_TRUE(list->hasFocus()) << "the list has the keyboard again";
    }
}

TEST_F(EditableListBoxTest, ReleaseOfAKeyPressedBeforeTheEditOpenedClosesNothing) {
    CEditHelper* edit = EditLine3(QStringLiteral("7"));
    ASSERT_NE(edit, nullptr);
    // The release of the Enter that chose the command in the menu.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(edit, &release);
    EXPECT_EQ(list->Edit(), edit);
}

TEST_F(EditableListBoxTest, ScrollingFocusLossAndResizeCommitFirst) {
    // Clicking the scroll bar's lower arrow: the edit commits before the lines move.
    ASSERT_NE(EditLine3(QStringLiteral("1")), nullptr);
    QScrollBar* bar = list->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    QSignalSpy moved(bar, &QScrollBar::valueChanged);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
    EXPECT_EQ(list->Edit(), nullptr);
    EXPECT_EQ(list->item(3)->text(), QStringLiteral("1"));
    EXPECT_EQ(moved.count(), 1) << "and then the list scrolls";

    list->scrollToTop();
    list->setCurrentRow(3);
    ASSERT_NE(EditLine3(QStringLiteral("2")), nullptr);
    other->setFocus();
    EXPECT_EQ(list->Edit(), nullptr);
    EXPECT_EQ(list->item(3)->text(), QStringLiteral("2"));
    EXPECT_TRUE(other->hasFocus()) << "the focus stays where the user put it";

    list->setFocus();
    list->setCurrentRow(3);
    ASSERT_NE(EditLine3(QStringLiteral("3")), nullptr);
    list->resize(180, 120);
    EXPECT_EQ(list->Edit(), nullptr);
    EXPECT_EQ(list->item(3)->text(), QStringLiteral("3"));
}

} // namespace
} // namespace xk::test
