#pragma once

#include "core/errorreport.h"

#include <QString>

#include <functional>

class QDialog;
class QUrl;

// What the record editors do outside their own windows, each behind a seam tests replace: running a
// dialog to its end, opening a folder in the desktop's file manager, and where the documents live.
namespace editors {

// Runs dialog to its end and returns its result (QDialog::Accepted or Rejected). By default exec();
// a test installs a runner that drives the dialog and returns its result without blocking.
using DialogRunner = std::function<int(QDialog& dialog)>;
// Installs runner (empty: exec again).
void setDialogRunner(DialogRunner runner);
int runDialog(QDialog& dialog);

// Opens url in the desktop's file manager; false when the desktop refused. By default QDesktopServices.
using FolderOpener = std::function<bool(const QUrl& url)>;
void setFolderOpener(FolderOpener opener);
bool openFolder(const QUrl& url);

// The user's documents folder: ORV_DOCUMENTS_DIR when it is set, else the desktop's documents folder.
QString documentsFolder();

// The labels under which the editors report the errors they trap: rule A.
core::ReportLabels reportLabels(const QString& owner, const QString& procedure);

} // namespace editors
