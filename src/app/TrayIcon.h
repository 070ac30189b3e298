#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <cstdint>

namespace xk {

inline constexpr const char* kTrayTip = "XK-R40 GAMING MOUSE";

// The tray icon: its tip, a double click that shows the window and the tray menu ("Show
// Window", "Exit Driver", or the Chinese texts) on a right click.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(const QIcon& icon);

    // Builds the menu in the language (1 English, 0 Chinese).
    void LoadMenu(int32_t language);
    void AddTrayIcon();
    void RemoveTrayIcon();
    bool Shown() const { return icon_.isVisible(); }
    QMenu& Menu() { return menu_; }

    static bool Available();

signals:
    void showRequested();
    void exitRequested();

private:
    QSystemTrayIcon icon_;
    QMenu menu_;
};

} // namespace xk
