#pragma once

#include <QString>
#include <QStringList>

namespace data {
class Connection;
}

namespace admin {

// A lawyer: a contact (added when its identifier is new) with a row in tbAdvogados, active.
struct NewLawyer {
    qint64 contactId = 0;
    QString name;
    QString initials;
    QString price; // per hour, "45,5" or "45.5"; empty for none
};
// Throws core::Error when the contact is a lawyer already, the price is no number or the database fails.
void addLawyer(data::Connection& office, const NewLawyer& lawyer);

// A user of the office applications: the login name people type, the contact behind it (0 for none, as for a
// secretary), the user's code and the codes of its groups (a group that does not exist is created).
struct NewUser {
    QString name;
    qint64 contactId = 0;
    QString code;
    QStringList groups;
};
// Returns the new user_id. Throws core::Error when the name is taken or empty, the contact does not exist,
// or the database fails; nothing is written then.
qint64 addUser(data::Connection& office, const NewUser& user);

} // namespace admin
