#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <cstdint>
#include <memory>

class QStyle;

namespace xk {

inline constexpr const char* kTrayTip = "XK-R40 GAMING MOUSE";

// The tray icon: its tip, a double click that shows the window and the tray menu ("Show
// Window", "Exit Driver", or the Chinese texts) on a right click.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(const QIcon& icon);

    // (Re)builds the menu in the language (1 English, 0 Chinese), drawn by `style`.
    void LoadMenu(int32_t language, QStyle& style);
    void AddTrayIcon();
    void RemoveTrayIcon();
    bool Shown() const { return icon_.isVisible(); }
    // The menu, or null before the first load.
    QMenu* Menu() const { return menu_.get(); }

    static bool Available();

signals:
    void showRequested();
    void exitRequested();

private:
    QSystemTrayIcon icon_;
    std::unique_ptr<QMenu> menu_;
};

} // namespace xk
