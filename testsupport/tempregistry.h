#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// Moves the registry somewhere fresh for its lifetime. Where the registry is kept in files, ORV_REGISTRY_USER_DIR and
// ORV_REGISTRY_MACHINE_DIR point at the "user" and "machine" folders of a temporary directory, and get their old
// values back afterwards. In the Windows registry, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE of this process are
// redirected to two new keys under HKEY_CURRENT_USER\Software\OrvTests, deleted afterwards (the redirection is
// the platform's, so the real registry calls are what is tested).
class TempRegistry
{
public:
    TempRegistry();
    ~TempRegistry();

    QString userDirectory() const { return m_dir.filePath(QStringLiteral("user")); }
    QString machineDirectory() const { return m_dir.filePath(QStringLiteral("machine")); }
    // The file that holds a root key ("HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"...); in the Windows registry a
    // file that never exists.
    QString file(const QString& rootName) const;
    // Changes whenever anything under the root key is written: the file's identity and time where the registry is
    // in files, the latest write time of the root's keys in the Windows registry.
    QByteArray rootStamp(const QString& rootName) const;
    // Takes away everything stored under the root key, as if the machine had never been set up.
    void clearRoot(const QString& rootName) const;

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
    QString m_rootKeys; // the platform's redirection of the root keys, when it has one
};

// The platform's part (tempregistry_win.cpp, tempregistry_posix.cpp): redirects the root keys of this process to
// fresh keys and gives a name for them, or "" where the registry is in files; then puts them back.
QString redirectRootKeys();
void restoreRootKeys(const QString& redirection);

} // namespace testsupport
