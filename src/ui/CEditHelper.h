#pragma once

#include <QLineEdit>

namespace xk {

// The one-line edit that an editable list box opens over one of its lines. Enter asks the list
// box to commit and Escape to discard, each when its key comes up after a press the edit saw;
// losing the keyboard focus asks to commit.
class CEditHelper final : public QLineEdit {
    Q_OBJECT
public:
    explicit CEditHelper(QWidget* parent);

signals:
    // To the list box: true commits the text, false discards it.
    void editEnd(bool commit);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool enterDown_ = false;
    bool escapeDown_ = false;
};

} // namespace xk
