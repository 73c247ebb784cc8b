#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace counter {

class ListView;

// A list saved as a CSV file for a spreadsheet in the Portuguese locale.
namespace csvExport {

// The list's rows in the order shown, under the headers, with one more column: its header rawHeader and
// its value the row's kept cell rawCell (a number with a decimal comma). UTF-8 with a byte-order mark,
// ";" between fields, CR LF after each line. A field holding ";", a double quote, CR or LF is quoted,
// its quotes doubled; a field that begins with "=", "+", "-", "@", a tab or CR is preceded by an
// apostrophe, so that a spreadsheet shows it as text instead of running it as a formula.
QByteArray text(const QStringList& headers, const ListView& list, const QString& rawHeader, int rawCell);

// "<what> - <lawyer> - <start> a <end>.csv", dates as dd-mm-yyyy. Characters that a file system refuses
// in a name (/ \ : * ? " < > | and control characters) become "_"; blanks and dots at either end of the
// lawyer's name are dropped, and the name is cut to 80 characters. Without a lawyer that part is left out.
QString proposedFileName(const QString& what, const QString& lawyer, const QDate& start, const QDate& end);

// Asks where to save, proposing a path; returns the chosen path, empty when the user cancelled.
using FileChooser = std::function<QString(QWidget* parent, const QString& proposedPath)>;
// Seam: the default is the desktop's save dialog; tests answer with a path. An empty chooser restores it.
void setFileChooser(FileChooser chooser);

// Asks for a file (proposed in the user's documents folder under proposedName) and writes bytes to it
// whole or not at all. Returns false when the user cancelled. Throws core::Error 1016 when it cannot be
// written.
bool save(QWidget* parent, const QString& proposedName, const QByteArray& bytes);

} // namespace csvExport
} // namespace counter
