#include "ui/CEditableListBox.h"

#include <QScrollBar>

namespace xk {
namespace {

constexpr int kEditTaller = 2; // the edit reaches 2 pixels above and below its line

} // namespace

CEditableListBox::CEditableListBox(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Scrolling commits the edit before the lines move.
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
        connect(bar, &QAbstractSlider::actionTriggered, this, [this] { EndEdit(true); });
        connect(bar, &QAbstractSlider::sliderPressed, this, [this] { EndEdit(true); });
    }
}

CEditableListBox::~CEditableListBox() {
    delete edit_.data();
}

void CEditableListBox::BeginEdit() {
    const QList<QListWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    EndEdit(true); // one edit at a time
    QListWidgetItem* line = selected.front();
    auto* edit = new CEditHelper(viewport());
    edit->setGeometry(visualItemRect(line).adjusted(0, -kEditTaller, 0, kEditTaller));
    edit->setFont(font());
    edit->setText(line->text());
    edit->selectAll();
    connect(edit, &CEditHelper::editEnd, this, &CEditableListBox::EndEdit);
    edit_ = edit;
    editLine_ = row(line);
    edit->show();
    edit->setFocus();
}

void CEditableListBox::EndEdit(bool commit) {
    if (edit_.isNull()) {
        return;
    }
    CEditHelper* edit = edit_.data();
    const QListWidgetItem* line = editLine_ >= 0 ? item(editLine_) : nullptr;
    if (commit && line != nullptr && line->text() != edit->text()) {
        const QString oldText = line->text();
        delete takeItem(editLine_);
        auto* replaced = new QListWidgetItem(edit->text());
        if (isSortingEnabled()) {
            addItem(replaced);
        } else {
            insertItem(editLine_, replaced);
        }
        editLine_ = row(replaced);
        setCurrentRow(editLine_);
        emit editChanged(editLine_, oldText);
    }
    // Forget the edit before it goes: the focus it loses then asks for nothing more.
    editLine_ = -1;
    edit_.clear();
    if (edit->hasFocus()) {
        setFocus();
    }
    edit->hide();
    edit->deleteLater();
    emit editClosed();
}

int CEditableListBox::TopLine() const {
    return verticalScrollBar()->value();
}

int CEditableListBox::LineHeight() const {
    return count() > 0 ? sizeHintForRow(0) : fontMetrics().height();
}

void CEditableListBox::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    EndEdit(true);
}

} // namespace xk
