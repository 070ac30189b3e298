#include "ui/MacroPageWidgets.h"

#include "ui/MaskShape.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QSignalBlocker>
#include <QWidget>

namespace xk {
namespace {

void Colour(QWidget& w) {
    QPalette palette = w.palette();
    for (const auto role : {QPalette::Base, QPalette::Window, QPalette::Button}) {
        palette.setColor(role, Qt::black);
    }
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
        palette.setColor(role, Qt::white);
    }
    w.setPalette(palette);
    w.setAutoFillBackground(true);
}

template <typename W> W* MakeControl(const char* name) {
    auto* w = new W();
    w->setObjectName(QString::fromLatin1(name));
    Colour(*w);
    w->hide();
    return w;
}

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string Line(const QListWidget& list, int line) {
    const QListWidgetItem* item = line >= 0 ? list.item(line) : nullptr;
    return item != nullptr ? item->text().toStdU16String() : std::u16string();
}

void Select(QListWidget& list, int line) {
    const QSignalBlocker quiet(&list);
    if (line >= 0 && line < list.count()) {
        list.setCurrentRow(line);
    } else {
        list.clearSelection();
        list.setCurrentRow(-1);
    }
}

int Selected(const QListWidget& list) {
    const auto items = list.selectedItems();
    return items.isEmpty() ? -1 : list.row(items.front());
}

} // namespace

MacroPageWidgets::MacroPageWidgets()
    : repeatCountEdit_(MakeControl<QLineEdit>("repeatCountEdit")),
      macroNameEdit_(MakeControl<QLineEdit>("macroNameEdit")),
      macroList_(MakeControl<QListWidget>("macroList")),
      eventList_(MakeControl<CEditableListBox>("eventList")), owned_{repeatCountEdit_,
                                                                     macroNameEdit_, macroList_,
                                                                     eventList_} {
    for (QLineEdit* edit : {repeatCountEdit_, macroNameEdit_}) {
        edit->setAlignment(Qt::AlignCenter);
        edit->setFrame(false);
    }
    for (QListWidget* list : std::initializer_list<QListWidget*>{macroList_, eventList_}) {
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setFrameShape(QFrame::NoFrame);
    }
    // After the selection has moved (the current row changes before it does). A click never
    // leaves the list without a selected line.
    QObject::connect(macroList_, &QListWidget::itemSelectionChanged, macroList_, [this] {
        if (macroList_->selectedItems().isEmpty() && macroList_->currentItem() != nullptr) {
            const QSignalBlocker quiet(macroList_);
            macroList_->currentItem()->setSelected(true);
        }
        if (onMacroSelected_) {
            onMacroSelected_();
        }
    });
    QObject::connect(eventList_, &CEditableListBox::editClosed, eventList_, [this] {
        if (onEditClosed_) {
            onEditClosed_();
        }
    });
}

MacroPageWidgets::~MacroPageWidgets() {
    // Controls that no window has taken (or that outlive it) are ours to delete.
    for (QPointer<QWidget>& w : owned_) {
        delete w.data();
    }
}

void MacroPageWidgets::Attach(QWidget& window) {
    for (QWidget* w : std::initializer_list<QWidget*>{repeatCountEdit_, macroNameEdit_, macroList_,
                                                      eventList_}) {
        w->setParent(&window);
        w->hide();
    }
}

void MacroPageWidgets::SetMacroSelectedHandler(std::function<void()> handler) {
    onMacroSelected_ = std::move(handler);
}

void MacroPageWidgets::SetRepaintHandler(std::function<void()> handler) {
    onRepaint_ = std::move(handler);
}

void MacroPageWidgets::SetEditClosedHandler(std::function<void()> handler) {
    onEditClosed_ = std::move(handler);
}

void MacroPageWidgets::Create(const SkinLayout& layout, const QFont& font) {
    const std::array<std::pair<QWidget*, const Rect*>, 4> placed{{
        {repeatCountEdit_, &layout.repeatCountEditRect},
        {macroNameEdit_, &layout.macroNameEditRect},
        {macroList_, &layout.macroListRect},
        {eventList_, &layout.eventListRect},
    }};
    for (const auto& [widget, rect] : placed) {
        widget->setGeometry(RectOf(*rect));
        widget->setFont(font);
        widget->setEnabled(true);
        widget->show();
    }
    created_ = true;
}

void MacroPageWidgets::Destroy() {
    eventList_->EndEdit(true); // an edit never outlives its page
    const QSignalBlocker quiet(macroList_);
    repeatCountEdit_->clear();
    macroNameEdit_->clear();
    macroList_->clear();
    eventList_->clear();
    for (QWidget* w : std::initializer_list<QWidget*>{repeatCountEdit_, macroNameEdit_, macroList_,
                                                      eventList_}) {
        w->hide();
    }
    created_ = false;
}

int MacroPageWidgets::MacroLineCount() const {
    return created_ ? macroList_->count() : 0;
}

std::u16string MacroPageWidgets::MacroLine(int line) const {
    return created_ ? Line(*macroList_, line) : std::u16string();
}

void MacroPageWidgets::AddMacroLine(std::u16string_view text) {
    if (created_) {
        const QSignalBlocker quiet(macroList_);
        macroList_->addItem(ToQString(text));
    }
}

void MacroPageWidgets::DeleteMacroLine(int line) {
    if (created_ && line >= 0 && line < macroList_->count()) {
        const QSignalBlocker quiet(macroList_);
        delete macroList_->takeItem(line);
    }
}

void MacroPageWidgets::ClearMacroList() {
    const QSignalBlocker quiet(macroList_);
    macroList_->clear();
}

int MacroPageWidgets::SelectedMacroLine() const {
    return created_ ? Selected(*macroList_) : -1;
}

void MacroPageWidgets::SelectMacroLine(int line) {
    if (created_) {
        Select(*macroList_, line);
    }
}

void MacroPageWidgets::FocusMacroList() {
    if (created_) {
        macroList_->setFocus();
    }
}

std::u16string MacroPageWidgets::MacroNameText() const {
    return created_ ? macroNameEdit_->text().toStdU16String() : std::u16string();
}

void MacroPageWidgets::SetMacroNameText(std::u16string_view text) {
    if (created_) {
        macroNameEdit_->setText(ToQString(text));
    }
}

std::u16string MacroPageWidgets::RepeatCountText() const {
    return created_ ? repeatCountEdit_->text().toStdU16String() : std::u16string();
}

void MacroPageWidgets::SetRepeatCountText(std::u16string_view text) {
    if (created_) {
        repeatCountEdit_->setText(ToQString(text));
    }
}

void MacroPageWidgets::SetRepeatCountEnabled(bool enabled) {
    if (created_) {
        repeatCountEdit_->setEnabled(enabled);
    }
}

int MacroPageWidgets::EventLineCount() const {
    return created_ ? eventList_->count() : 0;
}

std::u16string MacroPageWidgets::EventLine(int line) const {
    return created_ ? Line(*eventList_, line) : std::u16string();
}

void MacroPageWidgets::AddEventLine(std::u16string_view text) {
    if (created_) {
        eventList_->addItem(ToQString(text));
    }
}

void MacroPageWidgets::ClearEventList() {
    eventList_->clear();
}

int MacroPageWidgets::SelectedEventLine() const {
    return created_ ? Selected(*eventList_) : -1;
}

void MacroPageWidgets::SelectEventLine(int line) {
    if (created_) {
        Select(*eventList_, line);
    }
}

void MacroPageWidgets::FocusEventList() {
    if (created_) {
        eventList_->setFocus();
    }
}

bool MacroPageWidgets::EditSelectedEventLine() {
    if (!created_) {
        return false;
    }
    eventList_->BeginEdit();
    return eventList_->Edit() != nullptr;
}

void MacroPageWidgets::DiscardEventLineEdit() {
    eventList_->EndEdit(false);
}

void MacroPageWidgets::RepaintWindow() {
    if (onRepaint_) {
        onRepaint_();
    }
}

void MacroPageWidgets::SetControlsFont(const QFont& font) {
    for (QWidget* w : std::initializer_list<QWidget*>{repeatCountEdit_, macroNameEdit_, macroList_,
                                                      eventList_}) {
        w->setFont(font);
    }
}

} // namespace xk
