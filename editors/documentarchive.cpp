#include "editors/documentarchive.h"

#include "core/messagebox.h"
#include "editors/editorseams.h"

#include <QDir>
#include <QUrl>

namespace editors::documentArchive {
namespace {

constexpr qsizetype LongestNumber = 80;

bool forbidden(QChar c)
{
    return c.unicode() < 32 || c.unicode() == 127 || QStringLiteral("/\\:*?\"<>|").contains(c);
}

QString trimmedForFolder(const QString& name)
{
    qsizetype first = 0;
    qsizetype last = name.size();
    const auto dropped = [](QChar c) { return c.isSpace() || c == QLatin1Char('.'); };
    while (first < last && dropped(name.at(first))) {
        ++first;
    }
    while (last > first && dropped(name.at(last - 1))) {
        --last;
    }
    return name.mid(first, last - first);
}

} // namespace

QString folderName(const QString& caseNumber, qint64 caseId)
{
    QString name;
    for (const QChar c : caseNumber) {
        name += forbidden(c) ? QLatin1Char('-') : c;
    }
    name = trimmedForFolder(trimmedForFolder(name).left(LongestNumber));
    if (name.isEmpty()) {
        name = QStringLiteral("Dossier");
    }
    return name + QStringLiteral(" (%1)").arg(caseId);
}

bool open(const QString& caseNumber, qint64 caseId, const QString& title)
{
    const QString base = documentsFolder();
    const QString path = QDir(base).filePath(folderName(caseNumber, caseId));
    if (base.isEmpty() || !QDir().mkpath(path)) {
        core::msgBox(QStringLiteral("Não foi possível criar a pasta do arquivo documental:") + core::messageBreak() +
                         path,
                     core::Buttons::Ok, core::Icon::Critical, title);
        return false;
    }
    if (!openFolder(QUrl::fromLocalFile(path))) {
        core::msgBox(QStringLiteral("O ambiente de trabalho não abriu a pasta do arquivo documental:") +
                         core::messageBreak() + path,
                     core::Buttons::Ok, core::Icon::Warning, title);
        return false;
    }
    return true;
}

} // namespace editors::documentArchive
