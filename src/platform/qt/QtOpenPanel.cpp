#include "platform/qt/QtOpenPanel.h"

#include <QFileDialog>
#include <QStringList>

#include "platform/qt/QtSupport.h"

namespace corvane::platform::qt {

std::optional<std::vector<URL>> QtOpenPanel::runModal(const NSOpenPanel& panel) {
    ensureQtApplication();
    QFileDialog dialog(nullptr, QString::fromStdString(panel.title()));
    if (panel.directoryURL())
        dialog.setDirectory(QString::fromStdString(panel.directoryURL()->path()));
    // Qt's file dialog chooses either files or folders; a panel for both takes folders and
    // lets the files show, so that an application bundle (a folder) can be chosen.
    if (panel.canChooseDirectories()) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, !panel.canChooseFiles());
    } else {
        dialog.setFileMode(panel.allowsMultipleSelection() ? QFileDialog::ExistingFiles
                                                           : QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<URL> urls;
    for (const QString& file : dialog.selectedFiles())
        urls.push_back(URL::fileURLWithPath(file.toStdString()));
    return urls;
}

}  // namespace corvane::platform::qt
