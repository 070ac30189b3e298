#pragma once

#include "ui/WindowContext.h"

#include <QString>
#include <QWidget>

namespace xk {

class CMenuDlg;

// The sub-popup of a group row of the function popup: device functions, media keys, the user
// macros by name or the built-in macros; a row gives the button its function.
class CSubMenuDlg : public QWidget {
    Q_OBJECT
public:
    CSubMenuDlg(WindowContext context, CMenuDlg& popup);

    int32_t MaskWidth() const { return w2_; }
    int32_t RowHeight() const { return h2_; }
    int32_t WindowHeight() const { return windowHeight_; }
    int32_t SubPopupRow() const { return subPopupRow_; }
    // The text of sub-row d (1..subPopupRows) of the group now open.
    QString RowText(int32_t d) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    WindowContext c_;
    CMenuDlg& popup_;
    bool subPopupPressed_ = false;
    int32_t w2_ = 0;
    int32_t h2_ = 0;
    int32_t windowHeight_ = 0;
    int32_t subPopupRow_;
};

} // namespace xk
