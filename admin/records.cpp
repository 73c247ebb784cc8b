#include "admin/records.h"

#include "admin/transaction.h"
#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/moddata.h"
#include "data/office/schema.h"

namespace admin {

namespace {

namespace sc = data::schema;
using data::modData::SqlLiteral;
namespace literal = data::modData::literal;

[[noreturn]] void refuse(const QString& text)
{
    throw core::Error(core::errc::InvalidProcedureCall, text);
}

bool exists(data::Connection& office, const QString& sql)
{
    return !office.openRecordset(sql)->eof();
}

qint64 nextId(data::Connection& office, QLatin1StringView table, const QString& column)
{
    auto rows =
        office.openRecordset(QStringLiteral("SELECT MAX(") + column + QStringLiteral(") AS last FROM ") + table);
    const QVariant last = rows->value(QStringLiteral("last"));
    return last.isNull() ? 1 : last.toLongLong() + 1;
}

} // namespace

void addLawyer(data::Connection& office, const NewLawyer& lawyer)
{
    if (lawyer.contactId <= 0 || lawyer.name.trimmed().isEmpty()) {
        refuse(QStringLiteral("Um advogado precisa de um contacto e de um nome"));
    }
    bool priceOk = true;
    QString(lawyer.price).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&priceOk);
    if (!lawyer.price.trimmed().isEmpty() && !priceOk) {
        refuse(QStringLiteral("O preço \"%1\" não é um número").arg(lawyer.price));
    }
    const QString id = QString::number(lawyer.contactId);
    if (exists(office, QStringLiteral("SELECT contacto_id FROM ") + sc::tbAdvogados +
                           QStringLiteral(" WHERE contacto_id = ") + id)) {
        refuse(QStringLiteral("O contacto %1 já é advogado").arg(id));
    }
    inTransaction(office, [&] {
        if (!exists(office, QStringLiteral("SELECT contacto_id FROM ") + sc::tbContactos +
                                QStringLiteral(" WHERE contacto_id = ") + id)) {
            office.execute(QStringLiteral("INSERT INTO ") + sc::tbContactos +
                           QStringLiteral(" (contacto_id, nome_union) VALUES (") + id + QStringLiteral(", ") +
                           SqlLiteral(lawyer.name, literal::Text) + QLatin1Char(')'));
        }
        office.execute(QStringLiteral("INSERT INTO ") + sc::tbAdvogados +
                       QStringLiteral(" (contacto_id, sigla, preco, activo) VALUES (") + id + QStringLiteral(", ") +
                       SqlLiteral(lawyer.initials, literal::Text) + QStringLiteral(", ") +
                       SqlLiteral(lawyer.price, literal::Number) + QStringLiteral(", 1)"));
    });
}

qint64 addUser(data::Connection& office, const NewUser& user)
{
    const QString name = user.name.trimmed();
    if (name.isEmpty()) {
        refuse(QStringLiteral("O nome do utilizador não pode ficar vazio"));
    }
    if (exists(office, QStringLiteral("SELECT user_id FROM ") + sc::tbUsers + QStringLiteral(" WHERE descrit = ") +
                           SqlLiteral(name, literal::Text))) {
        refuse(QStringLiteral("O utilizador \"%1\" já existe").arg(name));
    }
    // Policies list codes separated by ';': a code holding one could never be found in a list.
    const QStringList codes = QStringList(user.groups) << user.code;
    for (const QString& code : codes) {
        if (code.contains(QLatin1Char(';'))) {
            refuse(QStringLiteral("O código \"%1\" não pode ter ';'").arg(code));
        }
    }
    const QString contact = user.contactId > 0 ? QString::number(user.contactId) : QStringLiteral("null");
    if (user.contactId > 0 && !exists(office, QStringLiteral("SELECT contacto_id FROM ") + sc::tbContactos +
                                                  QStringLiteral(" WHERE contacto_id = ") + contact)) {
        refuse(QStringLiteral("Não existe o contacto %1").arg(contact));
    }
    qint64 userId = 0;
    inTransaction(office, [&] {
        userId = nextId(office, sc::tbUsers, QStringLiteral("user_id"));
        office.execute(QStringLiteral("INSERT INTO ") + sc::tbUsers +
                       QStringLiteral(" (user_id, descrit, contacto_id, code) VALUES (") + QString::number(userId) +
                       QStringLiteral(", ") + SqlLiteral(name, literal::Text) + QStringLiteral(", ") + contact +
                       QStringLiteral(", ") + SqlLiteral(user.code, literal::Text) + QLatin1Char(')'));
        for (const QString& group : user.groups) {
            auto found = office.openRecordset(QStringLiteral("SELECT group_id FROM ") + sc::tbGroups +
                                              QStringLiteral(" WHERE code = ") + SqlLiteral(group, literal::Text));
            qint64 groupId = found->eof() ? 0 : found->value(QStringLiteral("group_id")).toLongLong();
            if (groupId == 0) {
                groupId = nextId(office, sc::tbGroups, QStringLiteral("group_id"));
                office.execute(QStringLiteral("INSERT INTO ") + sc::tbGroups +
                               QStringLiteral(" (group_id, code, descrit) VALUES (") + QString::number(groupId) +
                               QStringLiteral(", ") + SqlLiteral(group, literal::Text) + QStringLiteral(", ") +
                               SqlLiteral(group, literal::Text) + QLatin1Char(')'));
            }
            office.execute(QStringLiteral("INSERT INTO ") + sc::tbGroups_Users_Links +
                           QStringLiteral(" (group_id, user_id) VALUES (") + QString::number(groupId) +
                           QStringLiteral(", ") + QString::number(userId) + QLatin1Char(')'));
        }
    });
    return userId;
}

} // namespace admin
