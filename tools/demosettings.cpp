#include "tools/demosettings.h"

#include "data/office/machinesettings.h"

#include <QFileInfo>

namespace tools {

void DemoSettings::write(const QString& server, const QString& databasePath, const QString& catalog,
                         const QString& user, const QString& password)
{
    const data::MachineSettings settings{
        server, QStringLiteral("False"), user, password, catalog, QFileInfo(databasePath).absoluteFilePath(), QString(),
        {}};
    settings.write();
}

QString DemoSettings::sharedKey()
{
    return data::MachineSettings::sharedKey();
}

QString DemoSettings::serverKey(const QString& server)
{
    return data::MachineSettings::serverKey(server);
}

void DemoSettings::remember(const QString& user, const QString& password)
{
    using namespace data::settingsio;
    const QString key = data::MachineSettings::userKey();
    createKey(key);
    setValue(key, QStringLiteral("Username"), user);
    setValue(key, QStringLiteral("Password"), scrambled(password));
    setValue(key, QStringLiteral("Remember"), QStringLiteral("1"));
    // A login remembered anew has passed no check yet: the first start verifies its passwords.
    setValue(key, QStringLiteral("Verified"), QString());
}

} // namespace tools
