#include "tools/demosettings.h"

#include "core/errorvalue.h"
#include "registry/modregistry.h"
#include "scramble/modencriptserial.h"

#include <QFileInfo>

namespace tools {

namespace reg = registry::modRegistry;

namespace {

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
    const QString scrambled = scramble::modEncriptSerial::EncriptSerial(password);
    if (scrambled.isEmpty() && !password.isEmpty()) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("A palavra-passe da conta partilhada não pode ser guardada nesta máquina"));
    }
    setValue(key, QStringLiteral("dtPassword"), scrambled);
    setValue(key, QStringLiteral("dtInitialCatalog"), catalog);
    setValue(key, QStringLiteral("dtDataSource"), QFileInfo(databasePath).absoluteFilePath());
}

} // namespace tools
