#pragma once

#include "ui/WindowCommands.h"
#include "ui/WindowContext.h"

#include <QDialog>

namespace xk {

// The warning before the only left button is given another function: a modal skinned dialog
// at the popup's origin, shaped by its mask, with a confirm and a cancel button. Its result is
// 1 for confirm and 2 for cancel (Escape too); Enter does nothing.
class WarningDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kConfirm = static_cast<int>(WarningResult::Confirm);
    static constexpr int kCancel = static_cast<int>(WarningResult::Cancel);

    WarningDlg(WindowContext context, QWidget* owner);

    void reject() override;
    void accept() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // 1 over the confirm button, 2 over the cancel button, kNoElement elsewhere.
    int32_t ChoiceAt(const QPoint& pos) const;
    // The highlighted button; repaints when it changes.
    void SetChoice(int32_t choice);

    WindowContext c_;
};

} // namespace xk
