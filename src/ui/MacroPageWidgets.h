#pragma once

#include "macro/MacroPageControls.h"
#include "ui/CEditableListBox.h"
#include "ui/layout/SkinLayout.h"

#include <QFont>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

#include <array>
#include <functional>

class QWidget;

namespace xk {

// The four controls of the macro page (repeat-count edit, macro-name edit, macro list, event
// list), black with white text, as the macro operations use them. The objects live as long
// as the window; the controls exist (shown) only while the macro page is shown and act as
// empty controls otherwise.
class MacroPageWidgets final : public MacroPageControls {
public:
    MacroPageWidgets();
    ~MacroPageWidgets() override;
    MacroPageWidgets(const MacroPageWidgets&) = delete;
    MacroPageWidgets& operator=(const MacroPageWidgets&) = delete;

    // Makes the controls children of the main window.
    void Attach(QWidget& window);

    void Create(const SkinLayout& layout, const QFont& font);
    void Destroy();
    bool Created() const { return created_; }

    // A selection the user made in the macro list; a repaint request; every close of the event
    // list's in-place edit.
    void SetMacroSelectedHandler(std::function<void()> handler);
    void SetRepaintHandler(std::function<void()> handler);
    void SetEditClosedHandler(std::function<void()> handler);

    QLineEdit& RepeatCountEdit() { return *repeatCountEdit_; }
    QLineEdit& MacroNameEdit() { return *macroNameEdit_; }
    QListWidget& MacroList() { return *macroList_; }
    CEditableListBox& EventList() { return *eventList_; }

    int MacroLineCount() const override;
    std::u16string MacroLine(int line) const override;
    void AddMacroLine(std::u16string_view text) override;
    void DeleteMacroLine(int line) override;
    void ClearMacroList() override;
    int SelectedMacroLine() const override;
    void SelectMacroLine(int line) override;
    void FocusMacroList() override;
    std::u16string MacroNameText() const override;
    void SetMacroNameText(std::u16string_view text) override;
    std::u16string RepeatCountText() const override;
    void SetRepeatCountText(std::u16string_view text) override;
    void SetRepeatCountEnabled(bool enabled) override;
    int EventLineCount() const override;
    std::u16string EventLine(int line) const override;
    void AddEventLine(std::u16string_view text) override;
    void ClearEventList() override;
    int SelectedEventLine() const override;
    void SelectEventLine(int line) override;
    void FocusEventList() override;
    bool EditSelectedEventLine() override;
    void DiscardEventLineEdit() override;
    void RepaintWindow() override;

    // The text font of the four controls (the language's font).
    void SetControlsFont(const QFont& font);

private:
    QLineEdit* repeatCountEdit_;
    QLineEdit* macroNameEdit_;
    QListWidget* macroList_;
    CEditableListBox* eventList_;
    // Null once the window that took the controls has deleted them.
    std::array<QPointer<QWidget>, 4> owned_;
    bool created_ = false;
    std::function<void()> onMacroSelected_;
    std::function<void()> onRepaint_;
    std::function<void()> onEditClosed_;
};

} // namespace xk
