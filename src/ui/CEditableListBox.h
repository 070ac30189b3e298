#pragma once

#include "ui/CEditHelper.h"

#include <QListWidget>
#include <QPointer>
#include <QString>

namespace xk {

// A list box whose selected line can be edited in place: BeginEdit opens a one-line edit
// (CEditHelper) over it; no key typed into the list opens it. Enter, the edit losing the focus, a
// resize and scrolling commit the edit; Escape discards it. A committed text that differs replaces
// the line at its index.
class CEditableListBox final : public QListWidget {
    Q_OBJECT
public:
    explicit CEditableListBox(QWidget* parent = nullptr);
    ~CEditableListBox() override;
    CEditableListBox(const CEditableListBox&) = delete;
    CEditableListBox& operator=(const CEditableListBox&) = delete;

    // Opens the edit over the selected line with its text, all of it selected, and gives it the
    // keyboard focus; nothing opens when no line is selected.
    void BeginEdit();
    // Closes the edit: commits its text (when it differs from the line) or discards it, then
    // sends editClosed. Nothing when no edit is open.
    void EndEdit(bool commit);

    // The open edit, or null; the line it edits (-1 for none).
    CEditHelper* Edit() const { return edit_.data(); }
    int EditLine() const { return editLine_; }

    // The first visible line and the height of a line, in pixels.
    int TopLine() const;
    int LineHeight() const;

signals:
    // A committed text replaced the line now at `line`; `oldText` was the line's text.
    void editChanged(int line, const QString& oldText);
    // After every close of the edit, committed or discarded.
    void editClosed();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<CEditHelper> edit_;
    int editLine_ = -1;
};

} // namespace xk
