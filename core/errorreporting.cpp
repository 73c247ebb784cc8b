#include "core/errorreporting.h"

#include "core/platform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cstdio>

namespace core {
namespace {
ErrorReportingFactory& factorySlot()
{
    static ErrorReportingFactory factory;
    return factory;
}
} // namespace

void setErrorReportingFactory(ErrorReportingFactory factory)
{
    factorySlot() = std::move(factory);
}

std::unique_ptr<ErrorReporting> createErrorReporting()
{
    if (factorySlot()) {
        return factorySlot()();
    }
    return platformErrorReporting();
}

QString stateDirectory()
{
    QString explicitDir = qEnvironmentVariable("ORV_STATE_DIR");
    if (!explicitDir.isEmpty()) {
        return explicitDir;
    }
    return platformStateDirectory();
}

QString makeStateDirectory()
{
    const QString dir = stateDirectory();
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return dir;
}

namespace {
void appendToLog(const QJsonObject& entry)
{
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);

    // The log can hold what people typed (a refused login's known name): its owner alone reads it.
    const QString dir = makeStateDirectory();
    QFile log(dir + QStringLiteral("/errors.log"));
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    if (!log.open(QIODevice::Append | QIODevice::WriteOnly, ownerOnly)) {
        throw std::runtime_error("errors.log cannot be opened");
    }
    log.setPermissions(ownerOnly); // also a log made before by a more open program
    log.write(line);
}

QString now()
{
    return QDateTime::currentDateTime().toString(Qt::ISODate);
}
} // namespace

void LogFileErrorReporting::Report(const QString& application, const QString& project, const QString& owner,
                                   const QString& procedure, const QString& text)
{
    appendToLog({
        {QStringLiteral("time"), now()},
        {QStringLiteral("application"), application},
        {QStringLiteral("project"), project},
        {QStringLiteral("owner"), owner},
        {QStringLiteral("procedure"), procedure},
        {QStringLiteral("error"), text},
    });
}

void LogFileErrorReporting::noteComponentUnused(const QString& component, const QString& reason)
{
    appendToLog({
        {QStringLiteral("time"), now()},
        {QStringLiteral("component"), component},
        {QStringLiteral("unused"), reason},
    });
}

void LogFileErrorReporting::noteComponentUsed(const QString& component, const QString& which)
{
    appendToLog({
        {QStringLiteral("time"), now()},
        {QStringLiteral("component"), component},
        {QStringLiteral("used"), which},
    });
}

} // namespace core
