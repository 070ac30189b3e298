#pragma once

#include "ui/LedPreview.h"
#include "ui/MacroPageWidgets.h"
#include "ui/MaskShape.h"
#include "ui/SkinPainter.h"
#include "ui/WindowCommands.h"
#include "ui/WindowContext.h"

#include <QPoint>
#include <QRegion>
#include <QWidget>

class QMenu;

namespace xk {

inline constexpr const char* kWindowTitle = "XK-R40 GAMING MOUSE";
// The system menu's last item, as the tray menu names it.
inline constexpr const char* kExitDriverEnglish = "Exit Driver";
inline constexpr const char* kExitDriverChinese = "关闭驱动";

// The main window: frameless, shaped by the mask, painted from the skin, driven by the
// pointer. Pointer actions are in PointerInteraction.cpp.
class CNUV_DEvoraDlg : public QWidget {
    Q_OBJECT
public:
    CNUV_DEvoraDlg(WindowContext context, MacroPageWidgets& macroControls,
                   WindowCommands& commands);

    // Gives the window the mask's outline and size and builds the macro page's repaint region;
    // without a mask the window keeps its own size and no outline.
    void ApplyShape(const MaskShape& shape);
    const QRegion& MacroRepaintRegion() const { return macroRepaintRegion_; }

    void OnPointerMove(int32_t x, int32_t y);
    // The pointer lies over another window of ours above this one: no element is under it.
    void OnPointerCovered();
    void OnLeftButtonDown(int32_t x, int32_t y);
    void OnLeftButtonUp(int32_t x, int32_t y);
    void ShowPage(uint8_t page);

    // Repaints the whole window (or the macro page's region) and waits for the paint.
    void RepaintWindow();
    // Asks for a repaint; safe from the window's own handlers.
    void RequestRepaint();

    MacroPageWidgets& MacroControls() { return macroControls_; }
    LedPreview& Preview() { return ledPreview_; }
    const SkinPainter& Painter() const { return painter_; }
    // Whether the window follows the pointer by itself (no system move available).
    bool FollowingPointer() const { return followingPointer_; }

    void ShowSystemMenu(const QPoint& globalPos);
    // The system menu's items in the window's language: minimise, close, about, exit.
    void FillSystemMenu(QMenu& menu);
    void ShowAboutBox();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Nothing of the interface runs while the window is hidden or minimised.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Installed on the application: the main window's pre-translation of key events and
    // right-button releases, before any widget sees them.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool PreTranslateKey(QObject* watched, QKeyEvent& event);
    void RightButtonReleased();
    void RepaintAfterHotChange();
    void SetHotElements(int32_t main, int32_t light, int32_t macro);
    void ActOnMainPress(int32_t element);
    void ActOnMacroPress(int32_t element, int32_t x);
    void PressButtonSlot(int32_t element);
    void MoveWindow();
    // The main page's save of the current configuration; a write that fails says so.
    void SaveCurrentConfig();

    WindowContext c_;
    WindowCommands& commands_;
    SkinPainter painter_;
    MacroPageWidgets& macroControls_;
    LedPreview ledPreview_;
    QRegion macroRepaintRegion_;
    bool followingPointer_ = false;
    QPoint moveOffset_;
};

} // namespace xk
