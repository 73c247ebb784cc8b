#include "admin/commandhandlers.h"

#include "admin/commandline.h"
#include "admin/csvimport.h"
#include "admin/logintext.h"
#include "admin/office.h"
#include "admin/records.h"
#include "admin/sharedoffice.h"
#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/connectiontext.h"
#include "data/office/componentsettings.h"
#include "data/office/machinesettings.h"
#include "data/office/postgresoffice.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <iterator>

namespace admin {

namespace {

const QString PasswordMask = QStringLiteral("********");

void showSettings(const data::MachineSettings& settings, QTextStream& out)
{
    const QList<QPair<QString, QString>> rows = {
        {QStringLiteral("DataServer"), settings.server},
        {QStringLiteral("dtSecurityInfo"), settings.securityInfo},
        {QStringLiteral("dtUser"), settings.user},
        {QStringLiteral("dtPassword"), PasswordMask},
        {QStringLiteral("dtInitialCatalog"), settings.catalog},
        {QStringLiteral("dtDataSource"), settings.dataSource},
        {QStringLiteral("dtEngine"), settings.engine.isEmpty() ? QStringLiteral("(SQL Server)") : settings.engine},
        {QStringLiteral("dtEncrypt"), settings.security.encrypt ? QStringLiteral("1") : QStringLiteral("0")},
        {QStringLiteral("dtTrustServerCertificate"),
         settings.security.trustServerCertificate ? QStringLiteral("1") : QStringLiteral("0")},
    };
    out << data::MachineSettings::serverKey(settings.server) << "\n";
    for (const auto& row : rows) {
        out << "  " << row.first.leftJustified(26) << row.second << "\n";
    }
    out << data::MachineSettings::sharedKey() << "\n";
    for (const QString& kind : data::ComponentIdentifiers::kinds()) {
        const auto ids = data::ComponentIdentifiers::read(kind);
        out << "  " << kind.leftJustified(26) << (ids ? ids->text() : QStringLiteral("(editor do contador)")) << "\n";
    }
}

// Each --component KIND={class};{interface}, or KIND= to empty it, checked before any is written.
void writeComponents(const QCommandLineParser& parser)
{
    QList<QPair<QString, std::optional<data::ComponentIdentifiers>>> writes;
    for (const QString& value : parser.values(QStringLiteral("component"))) {
        const qsizetype equals = value.indexOf(QLatin1Char('='));
        const QString kind = value.left(equals).trimmed();
        if (equals < 0 || !data::ComponentIdentifiers::kinds().contains(kind)) {
            throw UsageError{QStringLiteral("--component espera TIPO={classe};{interface}, com TIPO um de %1: \"%2\"")
                                 .arg(data::ComponentIdentifiers::kinds().join(QStringLiteral(", ")), value)};
        }
        const QString ids = value.mid(equals + 1).trimmed();
        auto parsed = data::ComponentIdentifiers::parse(ids);
        if (!ids.isEmpty() && !parsed) {
            throw UsageError{QStringLiteral("--component %1: \"%2\" não são dois identificadores {classe};{interface}")
                                 .arg(kind, ids)};
        }
        writes.append({kind, parsed});
    }
    for (const auto& [kind, ids] : writes) {
        data::ComponentIdentifiers::write(kind, ids);
    }
}

// A Data Source that names a database file is kept as an absolute path: the counter may start anywhere.
QString dataSourceFor(const QString& value)
{
    data::ConnectionText text;
    text.dataSource = value;
    return text.namesDatabaseFile() ? QFileInfo(value.trimmed()).absoluteFilePath() : value;
}

// "1"/"0", "sim"/"não", "yes"/"no", "true"/"false" (any letter case).
bool yesNo(const QCommandLineParser& parser, const QString& name)
{
    const QString value = parser.value(name).trimmed().toLower();
    const QStringList yes{QStringLiteral("1"), QStringLiteral("sim"), QStringLiteral("yes"), QStringLiteral("true")};
    const QStringList no{QStringLiteral("0"), QStringLiteral("não"), QStringLiteral("nao"), QStringLiteral("no"),
                         QStringLiteral("false")};
    if (yes.contains(value)) {
        return true;
    }
    if (no.contains(value)) {
        return false;
    }
    throw UsageError{QStringLiteral("--%1 aceita sim ou não").arg(name)};
}

int serverOfficeCreateCommand(const QCommandLineParser& parser, Console& console)
{
    const data::PostgresTarget target = serverTarget(parser, parser.value(QStringLiteral("catalog")).trimmed());
    const QString shared = parser.value(QStringLiteral("user")).trimmed();
    const QString password = newPassword(parser, console, shared);
    createServerOffice(target, shared, password);
    console.out << "Escritório criado: base de dados " << target.catalog << " em " << target.server
                << " (conta partilhada " << shared.toLower() << ")\n";
    if (parser.isSet(QStringLiteral("server"))) {
        data::postgresoffice::writeSettings(parser.value(QStringLiteral("server")).trimmed(), target, shared, password);
        showSettings(data::MachineSettings::read(), console.out);
    }
    return exitcode::Ok;
}

} // namespace

int settingsCommand(const QCommandLineParser& parser, const QString&, Console& console, const CheckProbes&)
{
    const QStringList writing = {QStringLiteral("server"), QStringLiteral("user"), QStringLiteral("catalog"),
                                 QStringLiteral("data-source")};
    const bool write = std::any_of(writing.cbegin(), writing.cend(), [&](const QString& n) { return parser.isSet(n); });
    writeComponents(parser);
    if (write) {
        data::MachineSettings settings;
        settings.server = required(parser, QStringLiteral("server")).trimmed();
        settings.securityInfo = parser.value(QStringLiteral("security-info"));
        settings.user = required(parser, QStringLiteral("user"));
        settings.catalog = required(parser, QStringLiteral("catalog"));
        settings.dataSource = dataSourceFor(required(parser, QStringLiteral("data-source")));
        settings.engine = parser.value(QStringLiteral("engine")).trimmed();
        if (!data::Connection::engineNamed(settings.engine)) {
            throw UsageError{QStringLiteral("--engine aceita SQLServer, PostgreSQL ou Embedded")};
        }
        settings.security.encrypt = yesNo(parser, QStringLiteral("encrypt"));
        settings.security.trustServerCertificate = yesNo(parser, QStringLiteral("trust-server-certificate"));
        settings.password = newPassword(parser, console, settings.user);
        settings.write();
        console.out << "Definições gravadas.\n";
    } else if (!data::MachineSettings::exist()) {
        console.out << "Esta máquina ainda não tem definições. Grave-as com:\n  orvadmin settings --server NOME "
                       "--user CONTA --catalog BASE --data-source SERVIDOR\n(orvadmin settings --help para as "
                       "restantes)\n";
        return exitcode::Ok;
    }
    showSettings(data::MachineSettings::read(), console.out);
    return exitcode::Ok;
}

int checkCommand(const QCommandLineParser& parser, const QString&, Console& console, const CheckProbes& probes)
{
    std::optional<QString> user;
    QString password;
    if (parser.isSet(QStringLiteral("user"))) {
        user = parser.value(QStringLiteral("user"));
        password = parser.isSet(QStringLiteral("password-stdin"))
                       ? console.standardInput()
                       : console.password(QStringLiteral("Palavra-passe de %1: ").arg(*user));
    }
    const QList<CheckStep> steps = checkLogin(user, password, probes);
    for (const CheckStep& step : steps) {
        const QString status = step.status == CheckStep::Status::Passed   ? QStringLiteral("ok")
                               : step.status == CheckStep::Status::Failed ? QStringLiteral("FALHOU")
                                                                          : QStringLiteral("não verificado");
        console.out << step.number << ". " << (step.name + QLatin1Char(' ')).leftJustified(26, QLatin1Char('.')) << ' '
                    << status << (step.detail.isEmpty() ? QString() : QStringLiteral(": ") + step.detail) << "\n";
    }
    const int failed = failedStep(steps);
    if (failed == 0) {
        console.out << "Todos os passos do login foram verificados sem erros.\n";
        return exitcode::Ok;
    }
    console.err << "orvadmin: o passo " << failed << " (" << steps.at(failed - 1).name << ") falhou.\n";
    return exitcode::CheckFailed + failed;
}

int officeCreateCommand(const QCommandLineParser& parser, const QString& file, Console& console, const CheckProbes&)
{
    if (parser.isSet(QStringLiteral("postgres"))) {
        if (!file.isEmpty()) {
            throw UsageError{QStringLiteral("indique FILE ou --postgres, não os dois")};
        }
        return serverOfficeCreateCommand(parser, console);
    }
    if (file.isEmpty()) {
        throw UsageError{QStringLiteral("falta FILE")};
    }
    NewOffice office;
    office.path = QFileInfo(file).absoluteFilePath();
    office.catalog = parser.value(QStringLiteral("catalog"));
    office.sharedUser = parser.value(QStringLiteral("user"));
    office.group = parser.value(QStringLiteral("group")).trimmed();
    office.sharedPassword = newPassword(parser, console, office.sharedUser);
    createOffice(office);
    console.out << "Escritório criado: " << office.path << " (catálogo " << office.catalog << ", conta partilhada "
                << office.sharedUser << ")\n";
#ifndef Q_OS_WIN
    if (!office.group.isEmpty()) {
        console.out << "Os membros do grupo \"" << office.group << "\" podem usá-lo (sudo usermod -aG " << office.group
                    << " NOME; vale na próxima sessão do utilizador).\n";
    }
#endif
    if (parser.isSet(QStringLiteral("server"))) {
        data::MachineSettings settings;
        settings.server = parser.value(QStringLiteral("server")).trimmed();
        settings.securityInfo = QStringLiteral("False");
        settings.user = office.sharedUser;
        settings.password = office.sharedPassword;
        settings.catalog = office.catalog;
        settings.dataSource = office.path;
        settings.engine = QStringLiteral("Embedded");
        settings.write();
        showSettings(data::MachineSettings::read(), console.out);
    }
    return exitcode::Ok;
}

CommandHandler loginCommand(LoginChange change)
{
    return [change](const QCommandLineParser& parser, const QString& name, Console& console, const CheckProbes&) {
        const auto server = loginServer(parser);
        const QString file = server ? QString() : officeFile(parser);
        const QString password = change == LoginChange::Remove ? QString() : newPassword(parser, console, name);
        if (server) {
            changeRole(*server, change, name, password);
        } else {
            changeLogin(file, change, name, password);
        }
        const char* done = change == LoginChange::Add        ? "criado"
                           : change == LoginChange::Password ? "com nova palavra-passe"
                                                             : "removido";
        console.out << "Login \"" << (server ? name.trimmed().toLower() : name.trimmed()) << "\" " << done << " em "
                    << (server ? QStringLiteral("o servidor ") + server->server : file) << "\n";
        return exitcode::Ok;
    };
}

int lawyerAddCommand(const QCommandLineParser& parser, const QString&, Console& console, const CheckProbes&)
{
    NewLawyer lawyer{number(parser, QStringLiteral("contact")), required(parser, QStringLiteral("name")),
                     parser.value(QStringLiteral("initials")), parser.value(QStringLiteral("price"))};
    addLawyer(*openOffice(data::MachineSettings::read()), lawyer);
    console.out << "Advogado " << lawyer.contactId << " (" << lawyer.name.trimmed() << ") registado.\n";
    return exitcode::Ok;
}

int userAddCommand(const QCommandLineParser& parser, const QString& name, Console& console, const CheckProbes&)
{
    NewUser user{name,
                 parser.isSet(QStringLiteral("contact")) ? number(parser, QStringLiteral("contact")) : 0,
                 parser.value(QStringLiteral("code")),
                 {}};
    for (const QString& group : parser.values(QStringLiteral("group"))) {
        if (!group.trimmed().isEmpty()) {
            user.groups.append(group.trimmed());
        }
    }
    // A user without groups holds no policy: that is said out loud, never left to an omission.
    const bool noGroup = parser.isSet(QStringLiteral("no-group"));
    if (user.groups.isEmpty() && !noGroup) {
        throw UsageError{QStringLiteral("indique o grupo do utilizador (--group CÓDIGO), ou --no-group para um "
                                        "utilizador sem grupos, que não tem nenhuma política")};
    }
    if (!user.groups.isEmpty() && noGroup) {
        throw UsageError{QStringLiteral("--group e --no-group excluem-se")};
    }
    const qint64 id = addUser(*openOffice(data::MachineSettings::read()), user);
    console.out << "Utilizador \"" << name.trimmed() << "\" registado (user_id " << id << ").\n";
    if (noGroup) {
        console.out << "Sem grupos: \"" << name.trimmed() << "\" não tem nenhuma política de segurança.\n";
    }
    return exitcode::Ok;
}

int importCommand(const QCommandLineParser& parser, const QString&, Console& console, const CheckProbes&)
{
    const ImportFiles files{parser.value(QStringLiteral("clients")), parser.value(QStringLiteral("cases")),
                            parser.value(QStringLiteral("work")), parser.value(QStringLiteral("tasks"))};
    if (files.clients.isEmpty() && files.cases.isEmpty() && files.work.isEmpty() && files.tasks.isEmpty()) {
        throw UsageError{QStringLiteral("indique pelo menos um ficheiro (--clients, --cases, --work, --tasks)")};
    }
    const ImportResult result = importCsv(*openOffice(data::MachineSettings::read()), files);
    if (!result.problems.isEmpty()) {
        for (const FileProblem& problem : result.problems) {
            console.err << problem.file << ":" << problem.line << ": " << problem.reason << "\n";
        }
        console.err << "orvadmin: " << result.problems.size() << " linha(s) com erros; nada foi importado.\n";
        return exitcode::RowsRefused;
    }
    console.out << result.rows << " linha(s) importada(s).\n";
    return exitcode::Ok;
}

} // namespace admin
