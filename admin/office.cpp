#include "admin/office.h"

#include "admin/sharedoffice.h"
#include "core/errorvalue.h"
#include "data/engines/embedded.h"
#include "data/engines/embeddedfile.h"
#include "data/engines/embeddedlogins.h"
#include "data/engines/postgresconnection.h"
#include "data/office/officefile.h"
#include "data/office/postgresadmin.h"
#include "data/office/postgresoffice.h"
#include "data/office/schema.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace admin {

namespace {

namespace sc = data::schema;

[[noreturn]] void refuse(const QString& text)
{
    throw core::Error(core::errc::InvalidProcedureCall, text);
}

QString loginName(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
        refuse(QStringLiteral("O nome do login não pode ficar vazio"));
    }
    return trimmed;
}

// A name or password the server would take but no login could send: refused, so that nothing unusable is made.
void refuseUncarried(const QString& login, const QString& password)
{
    if (!data::PostgresConnection::carries(login) || !data::PostgresConnection::carries(password)) {
        refuse(QStringLiteral("O login \"%1\" não poderia entrar: o nome e a palavra-passe não podem ter o carácter "
                              "NUL")
                   .arg(login));
    }
    if (password.isEmpty()) {
        refuse(QStringLiteral("A palavra-passe do login \"%1\" não pode ficar vazia").arg(login));
    }
}

[[noreturn]] void refuseExisting(const QString& login)
{
    refuse(QStringLiteral("O login \"%1\" já existe").arg(login));
}

[[noreturn]] void refuseMissing(const QString& login)
{
    refuse(QStringLiteral("Não existe o login \"%1\"").arg(login));
}

} // namespace

void createServerOffice(const data::PostgresTarget& target, const QString& sharedUser, const QString& sharedPassword)
{
    const QString shared = loginName(sharedUser);
    refuseUncarried(shared, sharedPassword);
    if (target.catalog.trimmed().isEmpty() || !data::PostgresConnection::carries(target.catalog)) {
        refuse(QStringLiteral("O nome da base de dados não pode ficar vazio nem ter o carácter NUL"));
    }
    data::postgresoffice::create(target, shared, sharedPassword, {},
                                 [](data::PostgresAdmin& office) { data::postgresoffice::addCountingRules(office); });
}

void changeRole(const data::PostgresTarget& server, LoginChange change, const QString& name, const QString& password)
{
    const QString login = loginName(name);
    if (change != LoginChange::Remove) {
        refuseUncarried(login, password);
    }
    const auto session = server.session();
    using Expected = data::PostgresAdmin::LoginExpected;
    switch (change) {
    case LoginChange::Add:
        if (!session->setLogin(login, password, Expected::New)) {
            refuseExisting(login.toLower());
        }
        return;
    case LoginChange::Password:
        if (!session->setLogin(login, password, Expected::Existing)) {
            refuseMissing(login.toLower());
        }
        return;
    case LoginChange::Remove:
        if (!session->dropLogin(login)) {
            refuseMissing(login.toLower());
        }
        return;
    }
}

void createOffice(const NewOffice& office)
{
    if (QFileInfo::exists(office.path)) {
        refuse(QStringLiteral("O ficheiro %1 já existe").arg(office.path));
    }
    const QString shared = loginName(office.sharedUser);
    if (!office.group.isEmpty()) {
        sharedoffice::prepareFolder(office.path, office.group);
    }
    sc::createOffice(office.path, office.catalog.trimmed(), [&](const QString& file) {
        data::embedded::addLogin(file, shared, office.sharedPassword);
        data::embedded::EmbeddedFile db(file, data::embedded::EmbeddedFile::Mode::Existing);
        db.exec(QStringLiteral("INSERT INTO ") + sc::tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases +
                    QStringLiteral(" (base_id, descrit, counter) VALUES (1, ?, 1)"),
                {QStringLiteral("Tempo")});
        db.exec(QStringLiteral("INSERT INTO ") + sc::tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos +
                    QStringLiteral(" (preco_id, descrit, counter) VALUES (1, ?, 1)"),
                {QStringLiteral("Tabela de honorários")});
        if (!office.group.isEmpty()) {
            sharedoffice::shareFile(file, office.group);
        }
    });
}

void changeLogin(const QString& file, LoginChange change, const QString& name, const QString& password)
{
    const QString login = loginName(name);
    data::embedded::EmbeddedFile db(file, data::embedded::EmbeddedFile::Mode::Existing);
    switch (change) {
    case LoginChange::Add:
        db.exec(QStringLiteral("INSERT OR IGNORE INTO orv_logins (name, password_hash) VALUES (?, ?)"),
                {login, data::embedded::hashPassword(password, data::embedded::HashCost::Interactive)});
        if (sqlite3_changes(db.handle()) == 0) {
            refuseExisting(login);
        }
        return;
    case LoginChange::Password:
        db.exec(QStringLiteral("UPDATE orv_logins SET password_hash = ? WHERE name = ?"),
                {data::embedded::hashPassword(password, data::embedded::HashCost::Interactive), login});
        break;
    case LoginChange::Remove:
        db.exec(QStringLiteral("DELETE FROM orv_logins WHERE name = ?"), {login});
        break;
    }
    if (sqlite3_changes(db.handle()) == 0) {
        refuseMissing(login);
    }
}

} // namespace admin
