#include "tools/demosettings.h"

#include "core/errorvalue.h"
#include "registry/modregistry.h"
#include "scramble/modencriptserial.h"

#include <QFileInfo>

namespace tools {

namespace reg = registry::modRegistry;

namespace {

QString scrambled(const QString& password)
{
    const QString text = scramble::modEncriptSerial::EncriptSerial(password);
    if (text.isEmpty() && !password.isEmpty()) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("A palavra-passe não pode ser guardada nesta máquina"));
    }
    return text;
}

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

} // namespace

QString DemoSettings::sharedKey()
{
    return QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\Shared\\OUT");
}

QString DemoSettings::serverKey(const QString& server)
{
    return QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\") + server;
}

void DemoSettings::write(const QString& server, const QString& databasePath, const QString& catalog,
                         const QString& user, const QString& password)
{
    createKey(sharedKey());
    setValue(sharedKey(), QStringLiteral("DataServer"), server);

    const QString key = serverKey(server);
    createKey(key);
    setValue(key, QStringLiteral("dtSecurityInfo"), QStringLiteral("False"));
    setValue(key, QStringLiteral("dtUser"), user);
    setValue(key, QStringLiteral("dtPassword"), scrambled(password));
    setValue(key, QStringLiteral("dtInitialCatalog"), catalog);
    setValue(key, QStringLiteral("dtDataSource"), QFileInfo(databasePath).absoluteFilePath());
}

void DemoSettings::remember(const QString& user, const QString& password)
{
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Vorlent");
    createKey(key);
    setValue(key, QStringLiteral("Username"), user);
    setValue(key, QStringLiteral("Password"), scrambled(password));
    setValue(key, QStringLiteral("Remember"), QStringLiteral("1"));
}

} // namespace tools
