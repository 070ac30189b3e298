#include "app/TrayIcon.h"
#include "ui/CNuvMenu.h"
#include "ui/EventMenu.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace xk::test {
namespace {

QStyleOptionMenuItem Item(const QString& text, QRect rect, bool selected) {
    QStyleOptionMenuItem option;
    option.text = text;
    option.rect = rect;
    option.menuItemType = QStyleOptionMenuItem::Normal;
    option.state = QStyle::State_Enabled;
    if (selected) {
        option.state |= QStyle::State_Selected;
    }
    return option;
}

QImage Draw(const CNuvMenu& style, const QStyleOptionMenuItem& option) {
    QImage image(option.rect.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    style.drawControl(QStyle::CE_MenuItem, &option, &painter, nullptr);
    return image;
}

// Every command of a menu as "path > text = id", depth first, and each (sub)menu's style.
void Walk(const QMenu& menu, const std::string& path, const QStyle& style,
          std::vector<std::string>& lines) {
    EXPECT_EQ(menu.style(), &style) << path;
    for (const QAction* action : menu.actions()) {
        const std::string text = path + action->text().toStdString();
        if (action->menu() != nullptr) {
            Walk(*action->menu(), text + " > ", style, lines);
        } else {
            lines.push_back(text + " = " + std::to_string(action->data().toInt()));
        }
    }
}

TEST(NuvMenu, ItemsMeasureEightPixelsACharacterByTwenty) {
    EXPECT_EQ(CNuvMenu::MeasureItem(QStringLiteral("Add Backward"), false), QSize(96, 20));
    EXPECT_EQ(CNuvMenu::MeasureItem(QStringLiteral("显示窗口   "), false), QSize(56, 20));
    EXPECT_EQ(CNuvMenu::MeasureItem(QString(), true), QSize(0, 1));

    // The menu adds two average characters to what an item asks for (the submenu arrow's room).
    CNuvMenu style;
    QStyleOptionMenuItem option = Item(QStringLiteral("Add Backward"), {}, false);
    const int extra = 2 * option.fontMetrics.averageCharWidth();
    EXPECT_EQ(style.sizeFromContents(QStyle::CT_MenuItem, &option, {}, nullptr),
              QSize(96 + extra, 20));
    option.menuItemType = QStyleOptionMenuItem::Separator;
    option.text.clear();
    EXPECT_EQ(style.sizeFromContents(QStyle::CT_MenuItem, &option, {}, nullptr).height(), 1);
}

TEST(NuvMenu, FaceTextAndTheSelectedItemsGradient) {
    CNuvMenu style;
    const QImage plain = Draw(style, Item(QStringLiteral("Delete"), {0, 0, 96, 20}, false));
    EXPECT_EQ(plain.pixelColor(2, 10), CNuvMenu::kFace);
    EXPECT_EQ(plain.pixelColor(95, 19), CNuvMenu::kFace);
    int textLeft = 96;
    for (int x = 0; x < 96; ++x) {
        for (int y = 0; y < 20; ++y) {
            if (plain.pixelColor(x, y) != CNuvMenu::kFace) {
                textLeft = std::min(textLeft, x);
            }
        }
    }
    EXPECT_GE(textLeft, 10) << "text starts 10 pixels in";
    EXPECT_LT(textLeft, 14);

    // 20 rows: a one-pixel frame, then 18 gradient rows, green rising by 255 / 18 = 14.
    const QImage selected = Draw(style, Item(QString(), {0, 0, 96, 20}, true));
    EXPECT_EQ(selected.pixelColor(40, 0), QColor(Qt::black));
    EXPECT_EQ(selected.pixelColor(40, 19), QColor(Qt::black));
    EXPECT_EQ(selected.pixelColor(0, 10), QColor(Qt::black));
    for (int y = 1; y <= 18; ++y) {
        EXPECT_EQ(selected.pixelColor(40, y), QColor(0, 14 * (y - 1), 255)) << y;
        EXPECT_EQ(selected.pixelColor(1, y), selected.pixelColor(94, y)) << y;
    }
    EXPECT_EQ(CNuvMenu::GradientRow(17, 18), QColor(0, 238, 255));
    EXPECT_EQ(CNuvMenu::GradientRow(0, 0), CNuvMenu::kGradientTop) << "no rows, no division";
}

TEST(NuvMenu, EventMenuOfEachLanguageWithItsTextsAndIds) {
    CNuvMenu style;
    EventMenu menu;
    const std::vector<std::string> english = {"Add Forward > Left Button > Down  = 32802",
                                              "Add Forward > Left Button > Up = 32803",
                                              "Add Forward > Right Button > Down = 32804",
                                              "Add Forward > Right Button > Up = 32805",
                                              "Add Forward > Mid Button > Down = 32806",
                                              "Add Forward > Mid Button > Up = 32807",
                                              "Add Backward > Left Button > Down  = 32809",
                                              "Add Backward > Left Button > Up = 32810",
                                              "Add Backward > Right Button > Down = 32811",
                                              "Add Backward > Right Button > Up = 32812",
                                              "Add Backward > Mid Button > Down = 32813",
                                              "Add Backward > Mid Button > Up = 32814",
                                              "Modify Delay = 32780",
                                              "Delete = 32781"};
    const std::vector<std::string> chinese = {"项前插入     > 左键     > 向下     = 32817",
                                              "项前插入     > 左键     > 向上 = 32818",
                                              "项前插入     > 右键 > 向下     = 32820",
                                              "项前插入     > 右键 > 向上 = 32821",
                                              "项前插入     > 中键 > 向下     = 32823",
                                              "项前插入     > 中键 > 向上 = 32824",
                                              "项后插入 > 左键    > 向下   = 32829",
                                              "项后插入 > 左键    > 向上 = 32830",
                                              "项后插入 > 右键    > 向下    = 32831",
                                              "项后插入 > 右键    > 向上 = 32832",
                                              "项后插入 > 中键    > 向下    = 32833",
                                              "项后插入 > 中键    > 向上 = 32834",
                                              "修改延迟 = 32835",
                                              "删除 = 32836"};
    for (const auto& [language, title, lines] :
         {std::tuple{1, "MENU_CN", english}, std::tuple{0, "插入菜单", chinese}}) {
        menu.Load(language, style);
        ASSERT_NE(menu.Menu(), nullptr);
        EXPECT_EQ(menu.Menu()->title().toStdString(), title);
        std::vector<std::string> walked;
        Walk(*menu.Menu(), "", style, walked);
        EXPECT_EQ(walked, lines);
    }
}

TEST(NuvMenu, TrayMenuOfEachLanguage) {
    CNuvMenu style;
    TrayIcon tray{QIcon()};
    tray.LoadMenu(1, style);
    std::vector<std::string> walked;
    Walk(*tray.Menu(), "", style, walked);
    EXPECT_EQ(walked, (std::vector<std::string>{"Show Window = 32801", "Exit Driver = 32800"}));
    EXPECT_EQ(tray.Menu()->title(), QStringLiteral("Menu_Tray"));
    tray.LoadMenu(0, style);
    walked.clear();
    Walk(*tray.Menu(), "", style, walked);
    EXPECT_EQ(walked, (std::vector<std::string>{"显示窗口    = 32837", "关闭驱动 = 32838"}));
    EXPECT_EQ(tray.Menu()->title(), QStringLiteral("托盘菜单"));
}

} // namespace
} // namespace xk::test
