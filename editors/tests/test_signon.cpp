#include "editors/recordeditors.h"
#include "editors/workassistant.h"
#include "testsupport/editorfixture.h"

using testsupport::OfficeFixture;

// Every call of every editor object whose sign-on failed refuses with the message and touches nothing:
// no dialog, no statement that writes, no folder, no call back to the owner.
class TestSignOn : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyTheSessionsOwnUserIsServed_data()
    {
        QTest::addColumn<bool>("signs");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password"); // given unscrambled; the call scrambles it unless plain is set
        QTest::addColumn<bool>("plain");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("accepted");
        const auto row = [](const char* tag, bool signs, const QString& name, const QString& password, bool plain,
                            bool connected, bool accepted) {
            QTest::newRow(tag) << signs << name << password << plain << connected << accepted;
        };
        row("the session's user", true, QStringLiteral("ana"), QStringLiteral("segredo"), false, true, true);
        row("never signed on", false, QString(), QString(), false, true, false);
        row("another name", true, QStringLiteral("bruno"), QStringLiteral("segredo"), false, true, false);
        row("the name with a blank", true, QStringLiteral("ana "), QStringLiteral("segredo"), false, true, false);
        row("a wrong password", true, QStringLiteral("ana"), QStringLiteral("segredo1"), false, true, false);
        row("the password not scrambled", true, QStringLiteral("ana"), QStringLiteral("segredo"), true, true, false);
        row("no session", true, QStringLiteral("ana"), QStringLiteral("segredo"), false, false, false);
    }
    void onlyTheSessionsOwnUserIsServed()
    {
        QFETCH(bool, signs);
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(bool, plain);
        QFETCH(bool, connected);
        QFETCH(bool, accepted);
        EditorFixture f;
        session::modCode::Connected = connected;
        QString scrambled = plain ? password : scramble::modEncriptSerial::EncriptSerial(password);

        editors::DialogTaskEditor task;
        editors::DialogWorkEditor work;
        editors::DialogCaseEditor caseEditor;
        editors::DialogTimeEntryEditor entry;
        editors::DialogWorkAssistant assistant;
        QList<external::Component*> components{&task, &work, &caseEditor, &entry, &assistant};
        if (signs) {
            for (external::Component* component : components) {
                QString n = name;
                QString p = scrambled;
                QCOMPARE(component->SignOn(n, p), accepted);
            }
        }
        if (accepted) {
            return;
        }
        const qint64 running = f.office.addRunningEntry(OfficeFixture::Task, f.clock.now());
        f.openRecord(task, &editors::DialogTaskEditor::OpenRecord, QStringLiteral("tbProcessos_Trabalhos_Tarefas"),
                     QStringLiteral("tarefa_id"), OfficeFixture::Task, &f.owner);
        f.openRecord(work, &editors::DialogWorkEditor::OpenRecord, QStringLiteral("tbProcessos_Trabalhos"),
                     QStringLiteral("trabalho_id"), OfficeFixture::Work, &f.owner);
        f.openRecord(work, &editors::DialogWorkEditor::EditDeadlines, QStringLiteral("tbProcessos_Trabalhos"),
                     QStringLiteral("trabalho_id"), OfficeFixture::Work, nullptr);
        f.openRecord(caseEditor, &editors::DialogCaseEditor::OpenRecord, QStringLiteral("tbProcessos"),
                     QStringLiteral("processo_id"), OfficeFixture::Case, &f.owner);
        f.openRecord(caseEditor, &editors::DialogCaseEditor::OpenDocumentArchive, QStringLiteral("tbProcessos"),
                     QStringLiteral("processo_id"), OfficeFixture::Case, &f.owner);
        f.openRecord(entry, &editors::DialogTimeEntryEditor::OpenRecord,
                     QStringLiteral("tbProcessos_Trabalhos_Tarefas_Lancamentos"), QStringLiteral("lancamento_id"),
                     running, &f.owner);
        int client = OfficeFixture::Client, caseId = OfficeFixture::Case, taskId = OfficeFixture::Task,
            lawyer = OfficeFixture::Lawyer;
        entry.NewEntry(client, caseId, taskId, lawyer, &f.owner);
        QCOMPARE(assistant.SelectWork(), 0);
        QCOMPARE(assistant.NewEntryWizard(), false);

        QVERIFY(f.dialogsRun.isEmpty());
        QVERIFY(EditorFixture::writes().isEmpty());
        QVERIFY(f.foldersOpened.isEmpty());
        QVERIFY(f.owner.remoteKeys.isEmpty());
        QCOMPARE(f.boxes.shown().size(), 9);
        for (const core::Message& refusal : f.boxes.shown()) {
            QVERIFY(refusal.text.startsWith(QStringLiteral("O editor não reconheceu o utilizador da sessão")));
            QCOMPARE(refusal.icon, core::Icon::Critical);
        }
    }
};

QTEST_MAIN(TestSignOn)
#include "test_signon.moc"
