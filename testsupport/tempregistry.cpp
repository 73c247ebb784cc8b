#include "testsupport/tempregistry.h"

#include <QDir>

namespace testsupport {

TempRegistry::TempRegistry()
    : m_user(move("ORV_REGISTRY_USER_DIR", userDirectory()))
    , m_machine(move("ORV_REGISTRY_MACHINE_DIR", machineDirectory()))
{
    QDir(m_dir.path()).mkpath(QStringLiteral("user"));
    QDir(m_dir.path()).mkpath(QStringLiteral("machine"));
    m_rootKeys = redirectRootKeys();
}

TempRegistry::~TempRegistry()
{
    restoreRootKeys(m_rootKeys);
    restore(m_user);
    restore(m_machine);
}

QString TempRegistry::file(const QString& rootName) const
{
    const QString dir = rootName == u"HKEY_CURRENT_USER" ? userDirectory() : machineDirectory();
    return dir + u'/' + rootName + QStringLiteral(".reg");
}

TempRegistry::Saved TempRegistry::move(const char* name, const QString& directory)
{
    Saved saved{name, qEnvironmentVariableIsSet(name), qgetenv(name)};
    qputenv(name, directory.toLocal8Bit());
    return saved;
}

void TempRegistry::restore(const Saved& saved)
{
    if (saved.wasSet) {
        qputenv(saved.name, saved.value);
    } else {
        qunsetenv(saved.name);
    }
}

} // namespace testsupport
