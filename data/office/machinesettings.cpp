#include "data/office/machinesettings.h"

#include "core/errorvalue.h"
#include "data/connectiontext.h"
#include "registry/modregistry.h"
#include "scramble/modencriptserial.h"

namespace data {

namespace reg = registry::modRegistry;

namespace settingsio {

void createKey(const QString& key)
{
    if (!reg::CriarChave(key)) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("Não foi possível criar a chave %1").arg(key));
    }
}

void setValue(const QString& key, const QString& name, const QString& value)
{
    if (!reg::DefinirValorString(key, name, value)) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("Não foi possível gravar o valor %1 em %2").arg(name, key));
    }
}

QString scrambled(const QString& password)
{
    const QString text = scramble::modEncriptSerial::EncriptSerial(password);
    // Characters from code 191 up do not survive the scrambling: such a password would be stored
    // and never work again.
    if ((text.isEmpty() && !password.isEmpty()) || scramble::modEncriptSerial::DencriptSerial(text) != password) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("A palavra-passe não pode ser guardada nesta máquina"));
    }
    return text;
}

} // namespace settingsio

namespace {

// Every registry key of the counter lies under one of these two.
const QString MachineRoot = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\");
const QString UserRoot = QStringLiteral("HKEY_CURRENT_USER\\Software\\Vorlent");

} // namespace

QString MachineSettings::sharedKey()
{
    return MachineRoot + QStringLiteral("Shared\\OUT");
}

QString MachineSettings::serverKey(const QString& server)
{
    return MachineRoot + server;
}

QString MachineSettings::userKey()
{
    return UserRoot;
}

void MachineSettings::write() const
{
    using namespace settingsio;
    if (server.isEmpty() || server.contains(QLatin1Char('\\'))) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("Nome de servidor inválido: \"%1\"").arg(server));
    }
    const QString passwordText = scrambled(password);
    createKey(sharedKey());
    setValue(sharedKey(), QStringLiteral("DataServer"), server);
    const QString key = serverKey(server);
    createKey(key);
    setValue(key, QStringLiteral("dtSecurityInfo"), securityInfo);
    setValue(key, QStringLiteral("dtUser"), user);
    setValue(key, QStringLiteral("dtPassword"), passwordText);
    setValue(key, QStringLiteral("dtInitialCatalog"), catalog);
    setValue(key, QStringLiteral("dtDataSource"), dataSource);
    if (!engine.isEmpty()) {
        setValue(key, QStringLiteral("dtEngine"), engine);
    }
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    setValue(key, QStringLiteral("dtEncrypt"), flag(security.encrypt));
    setValue(key, QStringLiteral("dtTrustServerCertificate"), flag(security.trustServerCertificate));
}

bool MachineSettings::exist()
{
    return reg::ObterValorString(sharedKey(), QStringLiteral("DataServer")).has_value();
}

Connection::Engine MachineSettings::connectionEngine() const
{
    ConnectionText text;
    text.dataSource = dataSource;
    if (text.namesDatabaseFile()) {
        return Connection::Engine::Embedded;
    }
    return Connection::engineNamed(engine).value_or(Connection::Engine::SqlServer);
}

void MachineSettings::apply() const
{
    Connection::setEngine(Connection::engineNamed(engine).value_or(Connection::Engine::SqlServer));
    OdbcConnection::setTransportSecurity(security);
}

MachineSettings MachineSettings::read()
{
    auto value = [](const QString& key, const QString& name) {
        const auto text = reg::ObterValorString(key, name);
        if (!text) {
            throw core::Error(core::errc::InvalidProcedureCall,
                              QStringLiteral("Falta o valor \"%1\" em %2").arg(name, key));
        }
        return *text;
    };
    if (!exist()) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("Esta máquina ainda não tem definições (falta \"DataServer\" em %1): grave-as "
                                         "com orvadmin settings")
                              .arg(sharedKey()));
    }
    MachineSettings settings;
    settings.server = value(sharedKey(), QStringLiteral("DataServer"));
    const QString key = serverKey(settings.server);
    settings.securityInfo = value(key, QStringLiteral("dtSecurityInfo"));
    settings.user = value(key, QStringLiteral("dtUser"));
    settings.password = scramble::modEncriptSerial::DencriptSerial(value(key, QStringLiteral("dtPassword")));
    settings.catalog = value(key, QStringLiteral("dtInitialCatalog"));
    settings.dataSource = value(key, QStringLiteral("dtDataSource"));
    const auto optional = [&](const QString& name) { return reg::ObterValorString(key, name).value_or(QString()); };
    settings.engine = optional(QStringLiteral("dtEngine")).trimmed();
    if (!Connection::engineNamed(settings.engine)) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("O valor \"dtEngine\" em %1 (\"%2\") não nomeia um motor conhecido "
                                         "(SQLServer, PostgreSQL ou Embedded)")
                              .arg(key, settings.engine));
    }
    settings.security.encrypt = optional(QStringLiteral("dtEncrypt")) != QStringLiteral("0");
    settings.security.trustServerCertificate =
        optional(QStringLiteral("dtTrustServerCertificate")) == QStringLiteral("1");
    return settings;
}

} // namespace data
