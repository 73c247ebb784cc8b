#include "counter/statistics/csvexport.h"

#include "core/errorvalue.h"
#include "counter/listview/listview.h"

#include <QDir>
#include <QFileDialog>
#include <QSaveFile>
#include <QStandardPaths>

namespace counter::csvExport {
namespace {

constexpr int MostLawyerCharacters = 80;

QString defaultChooser(QWidget* parent, const QString& proposedPath)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Exportar para CSV"), proposedPath,
                                        QStringLiteral("Ficheiros CSV (*.csv)"));
}

FileChooser& chooser()
{
    static FileChooser current = defaultChooser;
    return current;
}

QString field(const QString& value)
{
    QString text = value;
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front())) {
        text.prepend(QLatin1Char('\''));
    }
    if (text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\r')) ||
        text.contains(QLatin1Char('\n'))) {
        text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        text = QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

void appendLine(QString& out, const QStringList& fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out += QLatin1Char(';');
        }
        out += field(fields[i]);
    }
    out += QStringLiteral("\r\n");
}

bool refusedInName(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(c);
}

} // namespace

QByteArray text(const QStringList& headers, const ListView& list, const QString& rawHeader, int rawCell)
{
    QString out;
    appendLine(out, QStringList(headers) << rawHeader);
    for (int row = 0; row < list.rowCount(); ++row) {
        QStringList cells;
        for (int cell = 0; cell < headers.size(); ++cell) {
            // The list shows a missing value as one blank; the file leaves its field empty.
            const QString shown = list.cellText(row, cell);
            cells << (shown == QStringLiteral(" ") ? QString() : shown);
        }
        cells << list.cellText(row, rawCell);
        appendLine(out, cells);
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

QString proposedFileName(const QString& what, const QString& lawyer, const QDate& start, const QDate& end)
{
    QString name = lawyer;
    for (QChar& c : name) {
        if (refusedInName(c)) {
            c = QLatin1Char('_');
        }
    }
    const auto trimmable = [](QChar c) { return c.isSpace() || c == QLatin1Char('.'); };
    while (!name.isEmpty() && trimmable(name.front())) {
        name.remove(0, 1);
    }
    name.truncate(MostLawyerCharacters);
    while (!name.isEmpty() && trimmable(name.back())) {
        name.chop(1);
    }
    const QString format = QStringLiteral("dd-MM-yyyy");
    return what + (name.isEmpty() ? QString() : QStringLiteral(" - ") + name) + QStringLiteral(" - ") +
           start.toString(format) + QStringLiteral(" a ") + end.toString(format) + QStringLiteral(".csv");
}

void setFileChooser(FileChooser fileChooser)
{
    chooser() = fileChooser ? std::move(fileChooser) : FileChooser(defaultChooser);
}

bool save(QWidget* parent, const QString& proposedName, const QByteArray& bytes)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::homePath();
    }
    const QString path = chooser()(parent, QDir(folder).filePath(proposedName));
    if (path.isEmpty()) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw core::Error(core::errc::IoFailed,
                          QStringLiteral("Cannot write the CSV file %1: %2").arg(path, file.errorString()));
    }
    return true;
}

} // namespace counter::csvExport
