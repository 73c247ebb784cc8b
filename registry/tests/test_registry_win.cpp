// The registry module on Windows writes and reads the Windows registry itself: what it writes is read back with
// advapi32's own calls, and what those write it reads. Built only for Windows.
#include "registry/modregistry.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempregistry.h"

#include <QTest>

#include <optional>
#include <windows.h>

using namespace registry::modRegistry;
using namespace Qt::StringLiterals;

namespace {

// The string value as the registry holds it, read without the module; null when it is not there.
std::optional<QString> rawRead(HKEY root, const wchar_t* key, const wchar_t* name)
{
    wchar_t data[4096];
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegGetValueW(root, key, name, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS || type != REG_SZ) {
        return std::nullopt;
    }
    return QString::fromWCharArray(data);
}

// Writes a string value without the module, with its terminating zero or, as some programs do, without it.
bool rawWrite(HKEY root, const wchar_t* key, const wchar_t* name, const QString& value, bool terminated = true)
{
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG code = RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.utf16()),
                                     DWORD((value.size() + (terminated ? 1 : 0)) * sizeof(wchar_t)));
    RegCloseKey(opened);
    return code == ERROR_SUCCESS;
}

} // namespace

class TestRegistryWindows : public QObject
{
    Q_OBJECT

    std::optional<testsupport::TempRegistry> m_registry;
    std::optional<testsupport::RecordedReports> m_reports;

private Q_SLOTS:
    void init()
    {
        m_registry.emplace();
        m_reports.emplace();
    }

    void cleanup() { QCOMPARE(m_reports->procedures(), QStringList()); }

    // The per-user and the machine settings land in the registry under the keys the system uses.
    void writesReachTheRegistry_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("value");
        QTest::newRow("remembered login") << u"HKEY_CURRENT_USER\\Software\\Vorlent"_s << u"mferreira"_s;
        QTest::newRow("machine settings") << u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent"_s << u"João \\ C:"_s;
        QTest::newRow("empty value") << u"HKEY_CURRENT_USER\\Software\\Vorlent"_s << QString();
    }

    void writesReachTheRegistry()
    {
        QFETCH(QString, path);
        QFETCH(QString, value);
        const HKEY rootKey = path.startsWith(u"HKEY_CURRENT_USER") ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        QVERIFY(CriarChave(path));
        QVERIFY(DefinirValorString(path, u"Username"_s, value));
        QCOMPARE(rawRead(rootKey, L"Software\\Vorlent", L"Username"), value);
    }

    // A value stored with or without its terminating zero reads the same, up to the read buffer's 3500 characters
    // with the zero counted.
    void valuesWithOrWithoutTheirZero_data()
    {
        QTest::addColumn<bool>("terminated");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<std::optional<QString>>("read");
        for (const bool terminated : {true, false}) {
            const char* how = terminated ? "with its zero" : "without its zero";
            QTest::addRow("João, %s", how) << terminated << u"João"_s << std::optional(u"João"_s);
            QTest::addRow("3499 characters, %s", how)
                << terminated << QString(3499, u'x') << std::optional(QString(3499, u'x'));
            QTest::addRow("3500 characters, %s", how) << terminated << QString(3500, u'x') << std::optional<QString>();
        }
    }

    void valuesWithOrWithoutTheirZero()
    {
        QFETCH(bool, terminated);
        QFETCH(QString, stored);
        QFETCH(std::optional<QString>, read);
        QVERIFY(rawWrite(HKEY_CURRENT_USER, L"Software\\Vorlent", L"Username", stored, terminated));
        QCOMPARE(ObterValorString(u"HKEY_CURRENT_USER\\Software\\Vorlent"_s, u"Username"_s), read);
    }
};

QTEST_GUILESS_MAIN(TestRegistryWindows)
#include "test_registry_win.moc"
