#include "admin/commandline.h"

#include "admin/password.h"
#include "core/errorvalue.h"
#include "data/connectiontext.h"
#include "data/office/machinesettings.h"

#include <QFile>

namespace admin {

QCommandLineOption option(const QString& name, const QString& description, const QString& value,
                          const QString& fallback)
{
    return QCommandLineOption(name, description, value, fallback);
}

QCommandLineOption passwordStdin()
{
    return option(QStringLiteral("password-stdin"),
                  QStringLiteral("Lê a palavra-passe da primeira linha da entrada padrão (para scripts)."));
}

QString required(const QCommandLineParser& parser, const QString& name)
{
    const QString value = parser.value(name);
    if (value.trimmed().isEmpty()) {
        throw UsageError{QStringLiteral("falta --%1").arg(name)};
    }
    return value;
}

qint64 number(const QCommandLineParser& parser, const QString& name)
{
    bool ok = false;
    const qint64 value = parser.value(name).toLongLong(&ok);
    if (!ok || value <= 0) {
        throw UsageError{QStringLiteral("--%1 precisa de um número inteiro positivo").arg(name)};
    }
    return value;
}

QString newPassword(const QCommandLineParser& parser, Console& console, const QString& whose)
{
    if (parser.isSet(QStringLiteral("password-stdin"))) {
        return console.standardInput();
    }
    const QString first = console.password(QStringLiteral("Palavra-passe de %1: ").arg(whose));
    if (console.password(QStringLiteral("Repita a palavra-passe: ")) != first) {
        throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("As palavras-passe não coincidem"));
    }
    return first;
}

QList<QCommandLineOption> serverOptions(const QString& what)
{
    return {option(QStringLiteral("postgres"), what, QStringLiteral("HOST,PORT")),
            option(QStringLiteral("admin"), QStringLiteral("Papel do servidor que cria papéis e bases de dados."),
                   QStringLiteral("ROLE"), QStringLiteral("postgres")),
            option(QStringLiteral("admin-password-file"), QStringLiteral("Ficheiro com a palavra-passe desse papel."),
                   QStringLiteral("FILE")),
            option(QStringLiteral("plain-link"), QStringLiteral("Ligação sem cifra (servidor sem certificado)."))};
}

data::PostgresTarget withAdmin(data::PostgresTarget target, const QCommandLineParser& parser)
{
    QFile file(required(parser, QStringLiteral("admin-password-file")));
    if (!file.open(QIODevice::ReadOnly)) {
        throw UsageError{QStringLiteral("não foi possível ler %1").arg(file.fileName())};
    }
    target.admin = parser.value(QStringLiteral("admin"));
    // The file holds the password as one line: only its line end goes, a blank may be part of the password.
    QByteArray line = file.readAll();
    if (line.endsWith('\n')) {
        line.chop(1);
    }
    target.adminPassword = withoutLineEnd(line.toStdString());
    return target;
}

data::PostgresTarget serverTarget(const QCommandLineParser& parser, const QString& catalog)
{
    data::PostgresTarget target;
    target.server = parser.value(QStringLiteral("postgres")).trimmed();
    target.catalog = catalog;
    target.security = {!parser.isSet(QStringLiteral("plain-link")), false};
    return withAdmin(target, parser);
}

std::optional<data::PostgresTarget> loginServer(const QCommandLineParser& parser)
{
    if (parser.isSet(QStringLiteral("database"))) {
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("postgres"))) {
        return serverTarget(parser, QString());
    }
    const auto target = data::postgresoffice::readSettings(data::MachineSettings::read());
    return target ? std::optional(withAdmin(*target, parser)) : std::nullopt;
}

QString officeFile(const QCommandLineParser& parser)
{
    if (parser.isSet(QStringLiteral("database"))) {
        return parser.value(QStringLiteral("database"));
    }
    data::ConnectionText text;
    text.dataSource = data::MachineSettings::read().dataSource;
    if (!text.namesDatabaseFile()) {
        throw UsageError{QStringLiteral("as definições apontam para um servidor SQL Server: os logins são do "
                                        "servidor; indique --database para uma base de dados local")};
    }
    return text.dataSource.trimmed();
}

} // namespace admin
