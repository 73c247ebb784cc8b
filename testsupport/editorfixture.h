#pragma once

#include "data/connection.h"
#include "editors/editorseams.h"
#include "external/recordeditors.h"
#include "scramble/modencriptserial.h"
#include "testsupport/login.h"
#include "testsupport/mockclock.h"
#include "testsupport/officefixture.h"
#include "testsupport/recordedreports.h"
#include "testsupport/scriptedmessageboxes.h"

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QUrl>

#include <functional>

// The owner an editor calls back after a save, recording every call.
struct RecordingOwner final : external::EditorOwner {
    QList<QPair<int, int>> remoteKeys;
    void SetTrayIcon(int&, const QString&) override {}
    void RemoteKey(int ID, int Flag) override { remoteKeys.append({ID, Flag}); }
};

// The small office, logged in as "ana" (lawyer 9) with password "segredo", message boxes scripted, reports
// recorded. The editors' dialogs run by scripts instead of exec(): each dialog run takes the next script, which acts
// on the shown dialog as a person would; a dialog the script leaves open is cancelled. Opening a folder is recorded
// and answers folderOpens.
struct EditorFixture {
    testsupport::MockClock clock;
    testsupport::OfficeFixture office;
    testsupport::ScriptedMessageBoxes boxes;
    testsupport::RecordedReports reports;
    RecordingOwner owner;
    QList<std::function<void(QDialog&)>> scripts;
    QStringList dialogsRun;
    QList<QUrl> foldersOpened;
    bool folderOpens = true;

    EditorFixture()
    {
        office.database().setServerClock([this] { return clock.now(); });
        testsupport::signIn(QStringLiteral("ana"), testsupport::OfficeFixture::Lawyer, QStringLiteral("segredo"));
        data::StatementLog::clear();
        editors::setDialogRunner([this](QDialog& dialog) {
            dialogsRun << dialog.objectName();
            dialog.show();
            if (!scripts.isEmpty()) {
                scripts.takeFirst()(dialog);
            }
            if (dialog.isVisible()) {
                dialog.reject();
            }
            return dialog.result();
        });
        editors::setFolderOpener([this](const QUrl& url) {
            foldersOpened << url;
            return folderOpens;
        });
    }

    ~EditorFixture()
    {
        editors::setDialogRunner({});
        editors::setFolderOpener({});
        testsupport::signOut();
    }

    // Signs component on as the session's own user.
    template <typename Component> static Component& signedOn(Component& component)
    {
        QString name = session::modCode::UserName;
        QString password = scramble::modEncriptSerial::EncriptSerial(session::modCode::UserPassword);
        component.SignOn(name, password);
        return component;
    }

    // Calls open (an OpenRecord-like member) with "SELECT * FROM table WHERE key = id" open, as the counter's
    // commands do, key being the identifier of the case, work item, task or entry table; gives back what open
    // answers. The statement log then holds only what the editor sent.
    template <typename Component, typename Open>
    static auto openRecord(Component& component, Open open, const QString& table, qint64 id,
                           external::EditorOwner* recordOwner)
    {
        // Each table's key is its last word, singular: tbProcessos_Trabalhos -> trabalho_id.
        const QString key = table.section(QLatin1Char('_'), -1).remove(QStringLiteral("tb")).toLower().chopped(1) +
                            QStringLiteral("_id");
        auto record = data::Data::SqlServer().openRecordset(
            QStringLiteral("SELECT * FROM %1 WHERE %2 = %3").arg(table, key).arg(id));
        const auto closed = qScopeGuard([&record] { record->close(); });
        QVariant ID = record->eof() ? QVariant() : record->value(key);
        data::StatementLog::clear();
        QString text1, text2;
        int n1 = 0, n2 = 0, n3 = 0;
        return (component.*open)(*record, ID, text1, text2, recordOwner, n1, n2, n3);
    }

    // The statements sent that write: UPDATE, INSERT or DELETE.
    static QStringList writes()
    {
        return data::StatementLog::statements().filter(QRegularExpression(QStringLiteral("^(UPDATE|INSERT|DELETE)")));
    }

    // The first row statement reads, its values as text joined by '|' (a date as 2009-11-16 08:30:00, a null
    // as nothing).
    QString stored(const QString& statement)
    {
        QStringList values;
        for (const QVariant& value : office.database().select(statement).value(0)) {
            values << (value.typeId() == QMetaType::QDateTime
                           ? value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                           : value.toString());
        }
        return values.join(QLatin1Char('|'));
    }

    QStringList shownTexts() const
    {
        QStringList texts;
        for (const core::Message& message : boxes.shown()) {
            texts << message.text;
        }
        return texts;
    }
};

// A person's hands on a dialog.
namespace hands {

inline QLineEdit& field(QDialog& dialog, const QString& name)
{
    auto* found = dialog.findChild<QLineEdit*>(name);
    if (found == nullptr) {
        qFatal("no field %s", qPrintable(name));
    }
    return *found;
}

// Types text into target key by key; a character beyond ASCII comes as the text of its key event.
inline void typeInto(QWidget& target, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(&target, c.toLatin1());
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(&target, &press);
        }
    }
}

// Replaces the field's text by typing.
inline void type(QDialog& dialog, const QString& name, const QString& text)
{
    QLineEdit& target = field(dialog, name);
    target.setFocus();
    target.selectAll();
    QTest::keyClick(&target, Qt::Key_Delete);
    typeInto(target, text);
}

// Enter (save or choose) or Esc (cancel) where the keyboard is.
inline void press(QDialog& dialog, Qt::Key key)
{
    QWidget* focus = dialog.focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &dialog, key);
}

// Puts text into the field at once, as a paste does.
inline void paste(QDialog& dialog, const QString& name, const QString& text)
{
    QLineEdit& target = field(dialog, name);
    target.setFocus();
    target.setText(text);
}

} // namespace hands
