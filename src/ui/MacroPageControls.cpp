#include "ui/MacroPageControls.h"

#include "ui/MaskShape.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
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

template <typename W> W* MakeControl(QWidget& parent, const char* name) {
    auto* w = new W(&parent);
    w->setObjectName(QString::fromLatin1(name));
    Colour(*w);
    w->hide();
    return w;
}

} // namespace

MacroPageControls::MacroPageControls(QWidget& parent)
    : repeatCountEdit_(MakeControl<QLineEdit>(parent, "repeatCountEdit")),
      macroNameEdit_(MakeControl<QLineEdit>(parent, "macroNameEdit")),
      macroList_(MakeControl<QListWidget>(parent, "macroList")),
      eventList_(MakeControl<QListWidget>(parent, "eventList")) {
    for (QLineEdit* edit : {repeatCountEdit_, macroNameEdit_}) {
        edit->setAlignment(Qt::AlignCenter);
        edit->setFrame(false);
    }
    for (QListWidget* list : {macroList_, eventList_}) {
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setFrameShape(QFrame::NoFrame);
    }
}

void MacroPageControls::Create(const SkinLayout& layout, const QFont& font) {
    const std::array<std::pair<QWidget*, const EdgeRect*>, 4> placed{{
        {repeatCountEdit_, &layout.repeatCountEditRect},
        {macroNameEdit_, &layout.macroNameEditRect},
        {macroList_, &layout.macroListRect},
        {eventList_, &layout.eventListRect},
    }};
    for (const auto& [widget, rect] : placed) {
        widget->setGeometry(RectOf(*rect));
        widget->setFont(font);
        widget->show();
    }
    created_ = true;
}

void MacroPageControls::Destroy() {
    repeatCountEdit_->clear();
    macroNameEdit_->clear();
    macroList_->clear();
    eventList_->clear();
    for (QWidget* w : std::initializer_list<QWidget*>{repeatCountEdit_, macroNameEdit_,
                                                      macroList_, eventList_}) {
        w->hide();
    }
    created_ = false;
}

} // namespace xk
