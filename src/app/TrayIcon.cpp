#include "app/TrayIcon.h"

namespace xk {
namespace {

// Command ids of the tray menu's items, by language.
constexpr int kShowWindowEn = 32801;
constexpr int kExitDriverEn = 32800;
constexpr int kShowWindowCn = 32837;
constexpr int kExitDriverCn = 32838;

} // namespace

TrayIcon::TrayIcon(const QIcon& icon) : icon_(icon) {
    icon_.setToolTip(QString::fromLatin1(kTrayTip));
    icon_.setContextMenu(&menu_);
    connect(&icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick) {
                    emit showRequested();
                }
            });
}

void TrayIcon::LoadMenu(int32_t language) {
    menu_.clear();
    const bool english = language != 0;
    menu_.setTitle(english ? QStringLiteral("Menu_Tray") : QStringLiteral("托盘菜单"));
    QAction* show =
        menu_.addAction(english ? QStringLiteral("Show Window") : QStringLiteral("显示窗口   "));
    show->setData(english ? kShowWindowEn : kShowWindowCn);
    connect(show, &QAction::triggered, this, &TrayIcon::showRequested);
    QAction* exit =
        menu_.addAction(english ? QStringLiteral("Exit Driver") : QStringLiteral("关闭驱动"));
    exit->setData(english ? kExitDriverEn : kExitDriverCn);
    connect(exit, &QAction::triggered, this, &TrayIcon::exitRequested);
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
