#include "editors/editorseams.h"

#include <QDesktopServices>
#include <QDialog>
#include <QStandardPaths>
#include <QUrl>

#include <utility>

namespace editors {
namespace {

DialogRunner& dialogRunner()
{
    static DialogRunner runner;
    return runner;
}

FolderOpener& folderOpener()
{
    static FolderOpener opener;
    return opener;
}

} // namespace

void setDialogRunner(DialogRunner runner)
{
    dialogRunner() = std::move(runner);
}

int runDialog(QDialog& dialog)
{
    if (dialogRunner()) {
        return dialogRunner()(dialog);
    }
    return dialog.exec();
}

void setFolderOpener(FolderOpener opener)
{
    folderOpener() = std::move(opener);
}

bool openFolder(const QUrl& url)
{
    if (folderOpener()) {
        return folderOpener()(url);
    }
    return QDesktopServices::openUrl(url);
}

QString documentsFolder()
{
    const QString configured = qEnvironmentVariable("ORV_DOCUMENTS_DIR");
    if (!configured.isEmpty()) {
        return configured;
    }
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

core::ReportLabels reportLabels(const QString& owner, const QString& procedure)
{
    return {QStringLiteral("Orv Counter"), QStringLiteral("Orv Editors"), owner, procedure, core::Rule::A,
            core::TextForm::Description};
}

} // namespace editors
