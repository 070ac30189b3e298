#include "app/FileDialogs.h"

#include <QFile>
#include <QFileDialog>

namespace xk {
namespace {

std::optional<std::filesystem::path> Run(QFileDialog& dialog, const FileFilter& filter) {
    // Qt reads a filter as "text (pattern)"; the option shows the text alone.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(filter.shown + QStringLiteral(" (") + filter.pattern +
                         QStringLiteral(")"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(QFile::encodeName(dialog.selectedFiles().front()).toStdString());
}

QString FolderText(const std::filesystem::path& folder) {
    return QFile::decodeName(QByteArray::fromStdString(folder.string()));
}

} // namespace

std::optional<std::filesystem::path>
ChooseFileToOpen(QWidget* owner, const std::filesystem::path& folder, const FileFilter& filter) {
    QFileDialog dialog(owner, QString(), FolderText(folder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Run(dialog, filter);
}

std::optional<std::filesystem::path> ChooseFileToSave(QWidget* owner,
                                                      const std::filesystem::path& folder,
                                                      const FileFilter& filter,
                                                      const QString& defaultSuffix) {
    QFileDialog dialog(owner, QString(), FolderText(folder));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    return Run(dialog, filter);
}

} // namespace xk
