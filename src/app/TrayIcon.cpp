#include "app/TrayIcon.h"

#include "settings/Language.h"
#include "ui/CNuvMenu.h"

#include <array>

namespace xk {
namespace {

enum class TrayCommand { ShowWindow, ExitDriver };

// The menu's items in order, with the command ids of each language.
struct TrayItem {
    TrayCommand command;
    int32_t englishId;
    int32_t chineseId;
    const char* english;
    const char* chinese;
};

constexpr std::array<TrayItem, 2> kTrayItems{{
    {TrayCommand::ShowWindow, 32801, 32837, "Show Window", "显示窗口   "},
    {TrayCommand::ExitDriver, 32800, 32838, "Exit Driver", "关闭驱动"},
}};

} // namespace

TrayIcon::TrayIcon(const QIcon& icon) : icon_(icon) {
    icon_.setToolTip(QString::fromLatin1(kTrayTip));
    connect(&icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // StatusNotifierItem trays (KDE Plasma, GNOME's AppIndicator, Wayland) turn
                // every click into one Trigger; an XEmbed tray adds DoubleClick on the second.
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
                    emit showRequested();
                }
            });
}

void TrayIcon::LoadMenu(int32_t language, QStyle& style) {
    const bool english = IsEnglish(language);
    auto menu = std::make_unique<QMenu>();
    menu->setTitle(english ? QStringLiteral("Menu_Tray") : QStringLiteral("托盘菜单"));
    for (const TrayItem& item : kTrayItems) {
        QAction* action = menu->addAction(QString::fromUtf8(english ? item.english : item.chinese));
        action->setData(english ? item.englishId : item.chineseId);
        if (item.command == TrayCommand::ShowWindow) {
            connect(action, &QAction::triggered, this, &TrayIcon::showRequested);
        } else {
            connect(action, &QAction::triggered, this, &TrayIcon::exitRequested);
        }
    }
    MakeOwnerDrawn(*menu, style);
    icon_.setContextMenu(menu.get());
    menu_ = std::move(menu);
}

void TrayIcon::AddTrayIcon() {
    icon_.show();
}

void TrayIcon::RemoveTrayIcon() {
    icon_.hide();
}

bool TrayIcon::Available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace xk
