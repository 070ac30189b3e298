#pragma once

#include <QString>

#include <filesystem>
#include <optional>

class QWidget;

namespace xk {

// One entry of a file dialog's filter list: the text shown and the pattern it matches.
struct FileFilter {
    QString shown;
    QString pattern;
};

// The program's modal file dialogs, owned by the main window and starting in `folder`; the
// filter shows its text only. Nothing when the user cancels.
std::optional<std::filesystem::path>
ChooseFileToOpen(QWidget* owner, const std::filesystem::path& folder, const FileFilter& filter);
// Adds `defaultSuffix` to a name typed without one and asks before overwriting a file.
std::optional<std::filesystem::path> ChooseFileToSave(QWidget* owner,
                                                      const std::filesystem::path& folder,
                                                      const FileFilter& filter,
                                                      const QString& defaultSuffix);

} // namespace xk
