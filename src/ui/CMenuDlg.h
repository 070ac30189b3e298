#pragma once

#include "ui/WindowContext.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace xk {

class CSubMenuDlg;

// The function popup: ten skinned rows of function names under a button slot. Rows 1..6 give
// the button their function; pointing at rows 7..10 opens the group's sub-popup to the right.
// A frameless tool window: it never takes the focus, and a press on the main window reaches
// the main window, which closes the popup.
class CMenuDlg : public QWidget {
    Q_OBJECT
public:
    // `assigned` runs after every assignment, from here or from the sub-popup, with the new
    // function in the record: the main window repaints at once.
    CMenuDlg(WindowContext context, QWidget& owner, std::function<void()> assigned);
    ~CMenuDlg() override;

    int32_t MaskWidth() const { return w_; }
    int32_t RowHeight() const { return h_; }
    // The open sub-popup, or null.
    CSubMenuDlg* SubPopup() const;

    // The sub-popup assigned a function: hide, and let the main window's paint close us.
    void OnSubPopupAssigned();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The sub-popup is a window of its own: it goes when the popup hides.
    void hideEvent(QHideEvent* event) override;

private:
    // Repaints, then closes the sub-popup and opens it again for the row now under the pointer.
    void Refresh();
    void RecreateSubPopup();
    void CloseSubPopup();

    WindowContext c_;
    std::function<void()> assigned_;
    int32_t w_ = 0;
    int32_t h_ = 0;
    QPointer<CSubMenuDlg> subPopup_;
};

} // namespace xk
