#include "registry/modregistry.h"

#include "core/errorreport.h"
#include "core/messagebox.h"
#include "registry/rootkeys.h"

#include <QSet>

namespace registry::modRegistry {

KeyHandle RegKeyHandle = 0;
quint32 RegRootHandle = 0;
qint32 RegResult = 0;
QString RegBuffer;
qint32 RegBufferLength = 0;

namespace {

core::ReportLabels labels(const QString& procedure)
{
    return {QStringLiteral("Módulo de Registo"),
            QStringLiteral("modRegistry.bas"),
            QStringLiteral("modRegistry"),
            procedure,
            core::Rule::C,
            core::TextForm::Number};
}

// Parses path into RegRootHandle; the root stays 0 when the path is malformed, so that nothing is touched.
QString parse(const QString& path)
{
    QString subKey = path;
    RegRootHandle = 0;
    FormatarChave(subKey, RegRootHandle);
    return subKey;
}

// Closes RegKeyHandle when the operation that opened it ends, however it ends.
class OpenKeyGuard
{
public:
    OpenKeyGuard() = default;
    OpenKeyGuard(const OpenKeyGuard&) = delete;
    OpenKeyGuard& operator=(const OpenKeyGuard&) = delete;
    ~OpenKeyGuard()
    {
        backend().closeKey(RegKeyHandle);
        RegKeyHandle = 0;
    }
};

// Blanks only, as the stored text may begin or end with other white space that belongs to it.
QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ') {
        ++begin;
    }
    while (end > begin && text.at(end - 1) == u' ') {
        --end;
    }
    return text.mid(begin, end - begin);
}

// Which key a path names: root names compare exactly, key names case-insensitively.
QString keyIdentity(const QString& path)
{
    const qsizetype separator = path.indexOf(u'\\');
    return separator < 0 ? path : path.left(separator) + path.mid(separator).toCaseFolded();
}

} // namespace

void FormatarChave(QString& path, quint32& root)
{
    core::trap(labels(QStringLiteral("FormatarChave")), [&] {
        RegResult = qint32(path.indexOf(u'\\') + 1);
        if (!path.startsWith(QStringLiteral("HKEY_")) || path.endsWith(u'\\')) {
            core::msgBox(QStringLiteral("Formato Incorrecto:") + QStringLiteral("\n\n") + path, core::Buttons::Ok,
                         core::Icon::None);
            return;
        }
        if (RegResult > 0) {
            root = ObterHandleChavePrincipal(path.left(RegResult - 1));
            path = path.mid(RegResult);
        } else {
            root = ObterHandleChavePrincipal(path);
            path = QStringLiteral("");
        }
    });
}

quint32 ObterHandleChavePrincipal(const QString& name)
{
    for (const RootKey& root : RootKeys) {
        if (name == QStringView(root.name)) {
            return root.handle;
        }
    }
    return 0;
}

bool CriarChave(const QString& path)
{
    bool created = false;
    core::trap(labels(QStringLiteral("CriarChave")), [&] {
        const QString subKey = parse(path);
        if (RegRootHandle == 0) {
            return;
        }
        RegResult = backend().createKey(RegRootHandle, subKey, RegKeyHandle);
        if (RegResult != result::Success) {
            return;
        }
        OpenKeyGuard close;
        created = true;
    });
    return created;
}

bool DefinirValorString(const QString& path, const QString& name, const QString& value)
{
    bool written = false;
    core::trap(labels(QStringLiteral("DefinirValorString")), [&] {
        const QString subKey = parse(path);
        if (RegRootHandle == 0) {
            return;
        }
        RegResult = backend().openKey(RegRootHandle, subKey, KeyWrite, RegKeyHandle);
        if (RegResult != result::Success) {
            return;
        }
        OpenKeyGuard close;
        RegResult = backend().setStringValue(RegKeyHandle, name, value);
        written = RegResult == result::Success;
    });
    return written;
}

std::optional<QString> ValorString(const QString& path, const QString& name)
{
    std::optional<QString> value;
    core::trap(labels(QStringLiteral("ValorString")), [&] {
        const QString subKey = parse(path);
        if (RegRootHandle == 0) {
            value = QStringLiteral("");
            return;
        }
        RegResult = backend().openKey(RegRootHandle, subKey, KeyRead, RegKeyHandle);
        if (RegResult != result::Success) {
            return;
        }
        OpenKeyGuard close;
        RegBuffer = QString(RegBufferSize, u' ');
        RegBufferLength = RegBufferSize;
        RegResult = backend().queryValue(RegKeyHandle, name, RegBuffer, RegBufferLength);
        if (RegResult != result::Success) {
            return;
        }
        // The text read ends in its terminating zero, which the trim leaves in place: blanks before it are kept.
        const QString read = trimBlanks(RegBuffer.left(RegBufferLength));
        value = read.isEmpty() ? QStringLiteral("") : read.chopped(1);
    });
    return value;
}

std::optional<QString> ObterValorString(const QString& path, const QString& name)
{
    std::optional<QString> value;
    core::trap(labels(QStringLiteral("ObterValorString")), [&] {
        const QString redirection = QStringLiteral("SREF=");
        std::optional<QString> read = ValorString(path, name);
        QSet<QString> visited{keyIdentity(path)};
        while (read && read->startsWith(redirection)) {
            const QString target = read->mid(redirection.size());
            if (visited.contains(keyIdentity(target))) {
                read.reset();
                break;
            }
            visited.insert(keyIdentity(target));
            read = ValorString(target, name);
        }
        value = read;
    });
    return value;
}

} // namespace registry::modRegistry
