#pragma once

#include <QString>

// The document archive of a case: one folder per case under the user's documents folder.
namespace editors::documentArchive {

// The folder's name: the case number with every character a file name cannot hold on Windows or here
// (/ \ : * ? " < > | and control characters) made "-", blanks and dots dropped at either end, at most
// 80 characters, followed by the case's identifier in brackets so that two numbers made alike never
// share a folder: "2009-015 (15)". A blank number gives "Dossier (15)".
QString folderName(const QString& caseNumber, qint64 caseId);

// The case's folder, created when it does not exist yet, opened in the desktop's file manager.
// Shows a message, titled title, when the folder cannot be made or opened; true when it was opened.
bool open(const QString& caseNumber, qint64 caseId, const QString& title);

} // namespace editors::documentArchive
