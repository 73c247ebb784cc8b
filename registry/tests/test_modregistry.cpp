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

    void cleanup()
    {
        QCOMPARE(m_reports->procedures(), QStringList());
        m_reports.reset();
        m_registry.reset();
    }

    void storedValuesReadBack_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("read");
        QTest::newRow("accents, quotes, backslashes")
            << u"João \"Lançamento\" C:\\Orv\\"_s << u"João \"Lançamento\" C:\\Orv\\"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("leading blanks dropped, trailing kept") << u"   sa  "_s << u"sa  "_s;
        QTest::newRow("only blanks") << u"    "_s << QString();
        QTest::newRow("tab is no blank") << u"\tsa"_s << u"\tsa"_s;
        QTest::newRow("3499 characters") << QString(3499, u'x') << QString(3499, u'x');
    }

    void storedValuesReadBack()
    {
        QFETCH(QString, stored);
        QFETCH(QString, read);
        QVERIFY(CriarChave(Vorlent));
        QVERIFY(DefinirValorString(Vorlent, u"Password"_s, stored));
        const Read value = ObterValorString(Vorlent, u"Password"_s);
        QVERIFY(value.has_value());
        QCOMPARE(*value, read);
    }

    void nullReads_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("missing key") << u"HKEY_CURRENT_USER\\Software\\Other"_s << u"Remember"_s;
        QTest::newRow("missing value") << Vorlent << u"Remember"_s;
        QTest::newRow("3500 characters") << Vorlent << u"Long"_s;
        QTest::newRow("missing root file") << Machine << u"DataServer"_s;
    }

    void nullReads()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QVERIFY(CriarChave(Vorlent));
        QVERIFY(DefinirValorString(Vorlent, u"Long"_s, QString(3500, u'x')));
        QCOMPARE(ValorString(path, name), std::nullopt);
        QCOMPARE(ObterValorString(path, name), std::nullopt);
    }

    void namesOfKeysAndValuesIgnoreCase()
    {
        QVERIFY(CriarChave(u"HKEY_CURRENT_USER\\SOFTWARE\\vorlent"_s));
        QVERIFY(DefinirValorString(Vorlent, u"username"_s, u"jsilva"_s));
        QVERIFY(DefinirValorString(Vorlent, u"USERNAME"_s, u"mcosta"_s));
        QCOMPARE(ObterValorString(Vorlent, u"Username"_s), u"mcosta"_s);
    }

    void writingNeedsTheKey()
    {
        QVERIFY(!DefinirValorString(Vorlent, u"Remember"_s, u"1"_s));
        QVERIFY(!QFile::exists(m_registry->file(u"HKEY_CURRENT_USER"_s)));
        QVERIFY(CriarChave(Vorlent));
        QVERIFY(CriarChave(Vorlent)); // an existing key opens
        QVERIFY(DefinirValorString(Vorlent, u"Remember"_s, u"1"_s));
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

        QString parsed = path;
        quint32 root = 0x80000002;
        FormatarChave(parsed, root);
        QCOMPARE(root, malformed ? 0x80000002 : 0u);
        QVERIFY(!CriarChave(path));
        QVERIFY(!DefinirValorString(path, u"Remember"_s, u"1"_s));
        QCOMPARE(ObterValorString(path, u"Remember"_s), u""_s);
        QCOMPARE(QDir(m_registry->userDirectory()).entryList(QDir::Files), QStringList());

        QCOMPARE(boxes.shown().size(), malformed ? 4 : 0);
        if (malformed) {
            QCOMPARE(parsed, path);
            const core::Message& shown = boxes.shown().first();
            QCOMPARE(shown.text, u"Formato Incorrecto:\n\n"_s + path);
            QCOMPARE(shown.title, u"Orv_Couter"_s);
            QCOMPARE(shown.buttons, core::Buttons::Ok);
            QCOMPARE(shown.icon, core::Icon::None);
        }
    }

    void redirections_data()
    {
        // Key i holds "SREF=" and key i + 1; the last key holds the value, or nothing.
        QTest::addColumn<QStringList>("chain");
        QTest::addColumn<Read>("read");
        const QString a = Vorlent + u"\\A"_s;
        const QString b = Machine + u"\\B"_s;
        const QString c = Vorlent + u"\\C"_s;
        const QString d = Vorlent + u"\\D"_s;
        QTest::newRow("three redirections") << QStringList{a, b, c, d} << Read(u"ORVSQL01"_s);
        QTest::newRow("to a missing value") << QStringList{a, b} << Read();
        QTest::newRow("back to the first key") << QStringList{a, b, c, a.toUpper()} << Read();
        QTest::newRow("to itself") << QStringList{a, a} << Read();
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
        QCOMPARE(ValorString(chain.first(), name), u"SREF="_s + chain.at(1));
    }
};

QTEST_GUILESS_MAIN(TestModRegistry)
#include "test_modregistry.moc"
