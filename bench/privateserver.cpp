#include "bench/privateserver.h"

#include "core/errorvalue.h"

#include <QFile>
#include <QProcess>

namespace bench {
namespace {

// Runs the server script's command on folder; its standard output, or an error with the script's.
QString serverScript(const QString& command, const QString& folder)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    script.start(QStringLiteral("bash"), {QStringLiteral(ORV_PG_SERVER_SCRIPT), command, folder});
    if (!script.waitForFinished(120000) || script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0) {
        throw core::Error(core::errc::ProviderError, QStringLiteral("pg-server.sh %1 %2 failed").arg(command, folder));
    }
    return QString::fromUtf8(script.readAllStandardOutput()).trimmed();
}

} // namespace

PrivateServer::PrivateServer(QString folder)
    : m_folder(std::move(folder))
{
    const QString port = serverScript(QStringLiteral("start"), m_folder);
    QFile password(m_folder + QStringLiteral("/adminpw"));
    if (!password.open(QIODevice::ReadOnly)) {
        serverScript(QStringLiteral("stop"), m_folder);
        throw core::Error(core::errc::ProviderError, QStringLiteral("The private server has no admin password"));
    }
    m_target.server = QStringLiteral("127.0.0.1,") + port;
    m_target.admin = QStringLiteral("orvadmin");
    m_target.adminPassword = QString::fromUtf8(password.readAll()).trimmed();
    m_target.security = {false, false};
}

PrivateServer::~PrivateServer()
{
    try {
        serverScript(QStringLiteral("stop"), m_folder);
    } catch (const core::Error&) {
        // The script already said why on stderr; nothing more can be done here.
    }
}

} // namespace bench
