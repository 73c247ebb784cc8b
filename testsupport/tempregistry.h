#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// Moves the registry into a fresh temporary directory for its lifetime: ORV_REGISTRY_USER_DIR and
// ORV_REGISTRY_MACHINE_DIR point at its "user" and "machine" folders, and get their old values back afterwards.
class TempRegistry
{
public:
    TempRegistry();
    ~TempRegistry();
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    QString userDirectory() const;
    QString machineDirectory() const;
    // The file that holds a root key ("HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"...).
    QString file(const QString& rootName) const;

private:
    struct Saved {
        const char* name;
        bool wasSet;
        QByteArray value;
    };
    static Saved move(const char* name, const QString& directory);
    static void restore(const Saved& saved);

    QTemporaryDir m_dir;
    Saved m_user;
    Saved m_machine;
};

} // namespace testsupport
