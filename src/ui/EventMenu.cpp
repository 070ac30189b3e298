#include "ui/EventMenu.h"

#include "macro/EventCommands.h"
#include "macro/EventList.h"
#include "settings/Language.h"
#include "ui/CEditableListBox.h"
#include "ui/CNuvMenu.h"

#include <QAction>
#include <QVariant>

namespace xk {
namespace {

QMenu* Submenu(QMenu& parent, const QString& title) {
    for (QAction* action : parent.actions()) {
        if (action->menu() != nullptr && action->text() == title) {
            return action->menu();
        }
    }
    return parent.addMenu(title);
}

// Adds a command under its path of texts, making the submenus on the way as they first come.
void AddCommand(QMenu& popup, const std::array<const char*, 3>& path, int32_t id) {
    QMenu* menu = &popup;
    for (size_t level = 0; level < path.size() && path[level] != nullptr; ++level) {
        const QString text = QString::fromUtf8(path[level]);
        const bool last = level + 1 == path.size() || path[level + 1] == nullptr;
        if (last) {
            menu->addAction(text)->setData(id);
        } else {
            menu = Submenu(*menu, text);
        }
    }
}

} // namespace

void EventMenu::Load(int32_t language, QStyle& style) {
    const bool english = IsEnglish(language);
    menu_ = std::make_unique<QMenu>();
    menu_->setTitle(QString::fromUtf8(english ? kEventMenuTitleEnglish : kEventMenuTitleChinese));
    for (const EventCommand& command : kEventCommands) {
        AddCommand(*menu_, english ? command.englishPath : command.chinesePath,
                   english ? command.englishId : command.chineseId);
    }
    MakeOwnerDrawn(*menu_, style);
}

void EventMenu::Open(MacroPage& page, CEditableListBox& list, QPoint pointer) {
    const QRect client(list.viewport()->mapToGlobal(QPoint(0, 0)), list.viewport()->size());
    EventMenuClick click;
    click.left = client.left();
    click.top = client.top();
    click.right = client.left() + client.width();
    click.bottom = client.top() + client.height();
    click.topLine = list.TopLine();
    click.lineHeight = list.LineHeight();
    click.pointerX = pointer.x();
    click.pointerY = pointer.y();
    if (!OpenEventMenu(page, click) || !menu_) {
        return;
    }
    const QAction* chosen = menu_->exec(pointer);
    if (chosen != nullptr && chosen->data().isValid()) {
        RunEventCommand(page, chosen->data().toInt());
    }
}

} // namespace xk
