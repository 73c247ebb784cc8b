#include "admin/checklogin.h"

#include "admin/logintext.h"
#include "core/errorvalue.h"
#include "core/loginthrottle.h"
#include "data/connection.h"
#include "data/connectiontext.h"
#include "data/engines/odbcconnection.h"
#include "data/engines/postgresconnection.h"
#include "data/moddata.h"
#include "data/office/filepermissions.h"
#include "data/office/machinesettings.h"
#include "data/office/schema.h"
#include "data/valuetext.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTcpSocket>

#include <array>

namespace admin {

namespace {

using Status = CheckStep::Status;
using Engine = data::Connection::Engine;

const char* const StepNames[] = {
    "Definições da máquina", "Controlador ODBC", "Servidor acessível",     "Login do utilizador",
    "Conta partilhada",      "Tabelas e vistas", "Advogado do utilizador",
};
constexpr int StepCount = 7;

// Why a server refused a connection, from the message it gave.
QString refusal(const core::Error& error, const QString& user, const QString& catalog)
{
    const QString& message = error.description();
    const QString lower = message.toLower();
    if (lower.contains(QLatin1String("cannot open database")) || lower.contains(QLatin1String("4060"))) {
        return QStringLiteral("o catálogo \"%1\" foi recusado: %2").arg(catalog, message);
    }
    if (lower.contains(QLatin1String("login failed")) || lower.contains(QLatin1String("18456"))) {
        return QStringLiteral("o servidor recusou o login de \"%1\": %2").arg(user, message);
    }
    if (lower.contains(QLatin1String("timeout")) || lower.contains(QLatin1String("time-out")) ||
        lower.contains(QLatin1String("hyt00"))) {
        return QStringLiteral("tempo esgotado à espera do servidor: %1").arg(message);
    }
    return QStringLiteral("a ligação não abriu: %1").arg(message);
}

class Checker
{
public:
    Checker(const std::optional<QString>& user, const QString& password, const CheckProbes& probes)
        : m_user(user)
        , m_password(password)
        , m_probes(probes)
    {
        for (int i = 0; i < StepCount; ++i) {
            m_steps.append({i + 1, QString::fromUtf8(StepNames[i]), Status::Skipped, QString()});
        }
    }

    QList<CheckStep> run()
    {
        using Step = bool (Checker::*)(CheckStep&);
        // A list walked by range: gcc's bounds sanitizer misreads an index into an array of member pointers.
        const std::array<Step, StepCount> steps{&Checker::settings,  &Checker::driver,        &Checker::server,
                                                &Checker::userLogin, &Checker::sharedAccount, &Checker::tables,
                                                &Checker::lawyer};
        int i = 0;
        for (const Step check : steps) {
            CheckStep& step = m_steps[i++];
            step.status = Status::Passed; // a step that does not apply marks itself skipped
            bool passed = false;
            try {
                passed = (this->*check)(step);
            } catch (const core::Error& error) {
                step.detail = error.description();
            }
            if (!passed) {
                step.status = Status::Failed;
                break;
            }
        }
        return m_steps;
    }

private:
    static bool skip(CheckStep& step, const QString& why)
    {
        step.status = Status::Skipped;
        step.detail = why;
        return true;
    }

    bool settings(CheckStep& step)
    {
        m_settings = data::MachineSettings::read();
        m_settings.apply();
        m_engine = m_settings.connectionEngine();
        m_text.dataSource = m_settings.dataSource;
        step.detail = QStringLiteral("%1, servidor %2, catálogo %3")
                          .arg(engineName(m_engine), m_settings.dataSource, m_settings.catalog);
        if (m_engine != Engine::Embedded) {
            step.detail += m_settings.security.encrypt ? m_settings.security.trustServerCertificate
                                                             ? QStringLiteral(", ligação cifrada sem verificar o "
                                                                              "certificado do servidor")
                                                             : QStringLiteral(", ligação cifrada com o certificado "
                                                                              "do servidor verificado")
                                                       : QStringLiteral(", ligação sem cifra");
        }
        return true;
    }

    static QString engineName(Engine engine)
    {
        switch (engine) {
        case Engine::Embedded:
            return QStringLiteral("base de dados local");
        case Engine::PostgreSQL:
            return QStringLiteral("PostgreSQL");
        case Engine::SqlServer:
            break;
        }
        return QStringLiteral("SQL Server");
    }

    bool driver(CheckStep& step)
    {
        if (m_engine == Engine::Embedded) {
            step.name = QStringLiteral("Ficheiro da base de dados");
            const QFileInfo file(m_settings.dataSource.trimmed());
            if (!file.isFile() || !file.isReadable()) {
                step.detail = QStringLiteral("o ficheiro %1 não existe ou não se pode ler").arg(file.filePath());
                return false;
            }
            step.detail = data::writeProblem(file.absoluteFilePath());
            if (!step.detail.isEmpty()) {
                return false;
            }
            step.detail = file.absoluteFilePath();
            return true;
        }
        const QString found = m_probes.driver(m_engine);
        if (found.isEmpty()) {
            step.detail = m_engine == Engine::PostgreSQL
                              ? QStringLiteral("não está instalado o controlador PostgreSQL do Qt "
                                               "(instale o pacote libqt6sql6-psql)")
                              : QStringLiteral("não está instalado nenhum controlador ODBC para SQL Server "
                                               "(instale o pacote tdsodbc ou o controlador da Microsoft)");
            return false;
        }
        step.detail = found;
        return true;
    }

    bool server(CheckStep& step)
    {
        if (m_engine == Engine::Embedded) {
            return skip(step, QStringLiteral("base de dados local"));
        }
        const ServerAddress address = serverAddress(m_settings.dataSource, m_engine);
        if (address.port == 0) {
            if (m_engine == Engine::PostgreSQL) {
                step.detail = QStringLiteral("o porto em \"%1\" não é um número").arg(m_settings.dataSource);
                return false;
            }
            return skip(step, QStringLiteral("instância com nome: o porto é dado pelo serviço SQL Server Browser"));
        }
        const Reach reach = m_probes.reach(address.host, address.port, m_text.connectTimeout);
        const QString where = QStringLiteral("%1, porto %2").arg(address.host).arg(address.port);
        switch (reach.result) {
        case Reach::Result::Reached:
            step.detail = where;
            return true;
        case Reach::Result::TimedOut:
            step.detail = QStringLiteral("tempo esgotado (%1 s) à espera de %2").arg(m_text.connectTimeout).arg(where);
            return false;
        case Reach::Result::Refused:
            break;
        }
        step.detail = QStringLiteral("%1 não responde: %2").arg(where, reach.message);
        return false;
    }

    bool userLogin(CheckStep& step)
    {
        if (!m_user) {
            return skip(step, QStringLiteral("sem --user"));
        }
        data::Connection test;
        try {
            test.open(loginConnectionText(m_settings, *m_user, m_password));
        } catch (const core::Error& error) {
            step.detail = refusal(error, *m_user, m_settings.catalog);
            // A check is a login attempt too: guessing through it is as slow as through the window.
            core::LoginThrottle::failed();
            return false;
        }
        core::LoginThrottle::succeeded();
        step.detail = *m_user;
        return true;
    }

    bool sharedAccount(CheckStep& step)
    {
        try {
            m_shared = openOffice(m_settings);
        } catch (const core::Error& error) {
            step.detail = QStringLiteral("conta \"%1\": %2")
                              .arg(m_settings.user, refusal(error, m_settings.user, m_settings.catalog));
            return false;
        }
        step.detail = m_settings.user;
        return true;
    }

    bool tables(CheckStep& step)
    {
        QStringList missing;
        for (const QString& name : data::schema::tableNames() + data::schema::viewNames()) {
            try {
                m_shared->openRecordset(QStringLiteral("SELECT COUNT(*) AS no FROM ") + name +
                                        QStringLiteral(" WHERE 1 = 0"));
            } catch (const core::Error&) {
                missing.append(name);
            }
        }
        if (!missing.isEmpty()) {
            step.detail = QStringLiteral("falta(m) ou não se pode(m) ler: %1").arg(missing.join(QStringLiteral(", ")));
            return false;
        }
        return true;
    }

    bool lawyer(CheckStep& step)
    {
        if (!m_user) {
            return skip(step, QStringLiteral("sem --user"));
        }
        auto users = m_shared->openRecordset(QStringLiteral("SELECT contacto_id FROM tbUsers WHERE descrit = ") +
                                             data::modData::SqlLiteral(*m_user, data::modData::literal::Text));
        const QString noLawyer = QStringLiteral("Não existe nenhum Advogado associado ao utilizador indicado.");
        if (users->eof()) {
            step.detail = noLawyer + QStringLiteral(" (\"%1\" não está em tbUsers)").arg(*m_user);
            return false;
        }
        const QVariant contact = users->value(QStringLiteral("contacto_id"));
        const qint32 contacto = contact.isNull() ? 0 : data::valueText::toLong(contact);
        if (contacto == 0) {
            step.detail = noLawyer + QStringLiteral(" (o utilizador não tem contacto_id)");
            return false;
        }
        auto lawyers = m_shared->openRecordset(
            QStringLiteral("SELECT contacto_id FROM tbAdvogados WHERE contacto_id = ") + QString::number(contacto));
        if (lawyers->eof()) {
            step.detail = noLawyer + QStringLiteral(" (o contacto %1 não está em tbAdvogados)").arg(contacto);
            return false;
        }
        step.detail = QStringLiteral("contacto %1").arg(contacto);
        return true;
    }

    std::optional<QString> m_user;
    QString m_password;
    const CheckProbes& m_probes;
    QList<CheckStep> m_steps;
    data::MachineSettings m_settings;
    data::ConnectionText m_text;
    Engine m_engine = Engine::SqlServer;
    std::unique_ptr<data::Connection> m_shared;
};

} // namespace

CheckProbes machineProbes()
{
    CheckProbes probes;
    probes.driver = [](Engine engine) {
        using data::OdbcConnection;
        using data::PostgresConnection;
        if (engine == Engine::PostgreSQL) {
            return PostgresConnection::driverAvailable() ? QStringLiteral("QPSQL (libpq)") : QString();
        }
        return OdbcConnection::chooseDriver(OdbcConnection::installedDrivers(),
                                            QFileInfo::exists(OdbcConnection::freeTdsLibrary()));
    };
    probes.reach = [](const QString& host, quint16 port, int seconds) {
        QTcpSocket socket;
        socket.connectToHost(host, port);
        if (socket.waitForConnected(seconds * 1000)) {
            socket.abort();
            return Reach{Reach::Result::Reached, QString()};
        }
        const bool timedOut = socket.error() == QAbstractSocket::SocketTimeoutError;
        return Reach{timedOut ? Reach::Result::TimedOut : Reach::Result::Refused, socket.errorString()};
    };
    return probes;
}

ServerAddress serverAddress(const QString& dataSource, data::Connection::Engine engine)
{
    QString server = dataSource.trimmed();
    if (engine == Engine::PostgreSQL) {
        // "host", "host,port" or "host:port", 5432 when none, as the connection reads it.
        ServerAddress address;
        address.port = 5432;
        const qsizetype mark = server.lastIndexOf(QRegularExpression(QStringLiteral("[,:]")));
        if (mark >= 0) {
            bool ok = false;
            const uint port = server.mid(mark + 1).trimmed().toUInt(&ok);
            address.port = ok && port > 0 && port < 65536 ? quint16(port) : 0;
            server = server.left(mark).trimmed();
        }
        address.host = server.isEmpty() ? QStringLiteral("localhost") : server;
        return address;
    }
    if (server.startsWith(QLatin1String("tcp:"), Qt::CaseInsensitive)) {
        server = server.mid(4);
    }
    ServerAddress address;
    const qsizetype comma = server.lastIndexOf(QLatin1Char(','));
    bool portGiven = false;
    if (comma >= 0) {
        bool ok = false;
        const uint port = server.mid(comma + 1).trimmed().toUInt(&ok);
        address.port = ok && port > 0 && port < 65536 ? quint16(port) : 0;
        portGiven = true;
        server = server.left(comma).trimmed();
    }
    address.host = server.section(QLatin1Char('\\'), 0, 0);
    if (server.contains(QLatin1Char('\\')) && !portGiven) {
        address.port = 0;
    }
    if (address.host == QLatin1String("(local)") || address.host == QLatin1String(".") || address.host.isEmpty()) {
        address.host = QStringLiteral("localhost");
    }
    return address;
}

QList<CheckStep> checkLogin(const std::optional<QString>& user, const QString& password, const CheckProbes& probes)
{
    return Checker(user, password, probes).run();
}

int failedStep(const QList<CheckStep>& steps)
{
    for (const CheckStep& step : steps) {
        if (step.status == CheckStep::Status::Failed) {
            return step.number;
        }
    }
    return 0;
}

} // namespace admin
