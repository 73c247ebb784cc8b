#include "registry/modregistry.h"
#include "testsupport/recordedreports.h"
#include "testsupport/scriptedmessageboxes.h"
#include "testsupport/tempregistry.h"

#include <QDir>
#include <QTest>

#include <optional>

using namespace registry::modRegistry;
using namespace Qt::StringLiterals;
using Read = std::optional<QString>;

namespace {
const QString Vorlent = u"HKEY_CURRENT_USER\\Software\\Vorlent"_s;
const QString Machine = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent"_s;
} // namespace

class TestModRegistry : public QObject
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

    // A value reads back as stored, less its leading blanks; one too long for the read buffer reads as null.
    void storedValuesReadBack_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Read>("read");
        QTest::newRow("accents, quotes, backslashes")
            << u"João \"Lançamento\" C:\\Orv\\"_s << Read(u"João \"Lançamento\" C:\\Orv\\"_s);
        QTest::newRow("empty") << QString() << Read(u""_s);
        QTest::newRow("leading blanks dropped, trailing kept") << u"   sa  "_s << Read(u"sa  "_s);
        QTest::newRow("only blanks") << u"    "_s << Read(u""_s);
        QTest::newRow("tab is no blank") << u"\tsa"_s << Read(u"\tsa"_s);
        QTest::newRow("3499 characters") << QString(3499, u'x') << Read(QString(3499, u'x'));
        QTest::newRow("3500 characters") << QString(3500, u'x') << Read();
    }

    void storedValuesReadBack()
    {
        QFETCH(QString, stored);
        QVERIFY(CriarChave(Vorlent));
        QVERIFY(DefinirValorString(Vorlent, u"Password"_s, stored));
        QTEST(ObterValorString(Vorlent, u"Password"_s), "read");
    }

    // Values go only into keys CriarChave made; missing reads as null; names ignore letter case.
    void writingNeedsTheKey()
    {
        QCOMPARE(ObterValorString(Vorlent, u"Remember"_s), std::nullopt); // not even the root's file yet
        QVERIFY(!DefinirValorString(Vorlent, u"Remember"_s, u"1"_s));
        QVERIFY(!QFile::exists(m_registry->file(u"HKEY_CURRENT_USER"_s)));
        QVERIFY(CriarChave(u"HKEY_CURRENT_USER\\SOFTWARE\\vorlent"_s));
        QVERIFY(CriarChave(Vorlent)); // an existing key opens
        QCOMPARE(ObterValorString(Vorlent, u"Remember"_s), std::nullopt);
        QCOMPARE(ObterValorString(u"HKEY_CURRENT_USER\\Software\\Other"_s, u"Remember"_s), std::nullopt);
        QVERIFY(DefinirValorString(Vorlent, u"remember"_s, u"0"_s));
        QVERIFY(DefinirValorString(Vorlent, u"REMEMBER"_s, u"1"_s));
        QCOMPARE(ObterValorString(Vorlent, u"Remember"_s), u"1"_s);
        // The root key itself needs no creating.
        QVERIFY(DefinirValorString(u"HKEY_CURRENT_USER"_s, u"Remember"_s, u"0"_s));
        QCOMPARE(ObterValorString(u"HKEY_CURRENT_USER"_s, u"Remember"_s), u"0"_s);
    }

    void pathsThatWriteNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("malformed");
        QTest::newRow("no root") << u"Software\\Vorlent"_s << true;
        QTest::newRow("ends with a backslash") << u"HKEY_CURRENT_USER\\Software\\Vorlent\\"_s << true;
        QTest::newRow("lower-case prefix") << u"hkey_current_user\\Software\\Vorlent"_s << true;
        QTest::newRow("unknown root") << u"HKEY_Current_User\\Software\\Vorlent"_s << false;
    }

    void pathsThatWriteNothing()
    {
        QFETCH(QString, path);
        QFETCH(bool, malformed);
        testsupport::ScriptedMessageBoxes boxes;

        QVERIFY(!CriarChave(path));
        QVERIFY(!DefinirValorString(path, u"Remember"_s, u"1"_s));
        QCOMPARE(ObterValorString(path, u"Remember"_s), u""_s);
        QCOMPARE(QDir(m_registry->userDirectory()).entryList(QDir::Files), QStringList());

        // A malformed path shows its message on every call; an unknown root is refused quietly.
        QCOMPARE(boxes.shown().size(), malformed ? 3 : 0);
        QVERIFY(!malformed || boxes.shown().first().text == u"Formato Incorrecto:\n\n"_s + path);
    }

    void redirections_data()
    {
        // Key i holds "SREF=" and key i + 1; the last key holds the value, or nothing.
        QTest::addColumn<QStringList>("chain");
        QTest::addColumn<Read>("read");
        const QString a = Vorlent + u"\\A"_s, b = Machine + u"\\B"_s, c = Vorlent + u"\\C"_s, d = Vorlent + u"\\D"_s;
        QTest::newRow("three redirections") << QStringList{a, b, c, d} << Read(u"ORVSQL01"_s);
        QTest::newRow("to a missing value") << QStringList{a, b} << Read();
        QTest::newRow("back to the first key") << QStringList{a, b, c, a.toUpper()} << Read();
        QTest::newRow("to itself") << QStringList{a, a} << Read();
        QTest::newRow("back to a later key") << QStringList{a, b, c, b} << Read();
    }

    void redirections()
    {
        QFETCH(QStringList, chain);
        QFETCH(Read, read);
        const QString name = u"DataServer"_s;
        for (qsizetype i = 0; i < chain.size(); ++i) {
            QVERIFY(CriarChave(chain.at(i)));
            if (i + 1 < chain.size()) {
                QVERIFY(DefinirValorString(chain.at(i), name, u"SREF="_s + chain.at(i + 1)));
            } else if (read) {
                QVERIFY(DefinirValorString(chain.at(i), name, *read));
            }
        }
        QCOMPARE(ObterValorString(chain.first(), name), read);
    }
};

QTEST_GUILESS_MAIN(TestModRegistry)
#include "test_modregistry.moc"
