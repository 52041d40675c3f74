#include "qt/qt_host.h"

#include "qt/message_box.h"

#include <QDir>
#include <QFileDialog>

namespace ep::qt {

MessageBoxButton QtHost::showMessageBox(const MessageBoxRequest& request) { return ShowMessageBox(request); }

std::optional<Text> QtHost::showFileDialog(const FileDialogRequest& request) {
    QFileDialog dialog;
    dialog.setAcceptMode(request.kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.kind == FileDialogKind::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QString filter = QString::fromStdString(request.filterDisplay);
    if (!filter.contains('('))
        filter += QStringLiteral(" (%1)").arg(QString::fromStdString(request.filterPattern));
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
    if (request.startPath.empty())
        dialog.setDirectory(QDir::homePath());
    else
        dialog.selectFile(QString::fromStdString(request.startPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

} // namespace ep::qt
