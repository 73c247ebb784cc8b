#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace tools {

class DemoWriter;

// A lawyer or other user of the demo office.
struct DemoPerson {
    int contactoId = 0;
    QString name;
    QString login;  // empty: no user account
    QString code;   // the user's code for security policies
    int userId = 0; // 0: no user account
    bool lawyer = true;
    QVariant preco;  // the lawyer's price per hour; null for none
    QVariant activo; // listed in the lawyer box when not 0 (null counts as listed)
    bool supervisor = false;
};

// A login a person can type in the login dialog.
struct DemoLogin {
    QString user;
    QString password;
    QString name;
    QString role;
};

// The fixed people of the demo office: the lawyers who count time (one of them a supervisor who may
// look at the others' records), a former lawyer, and a secretary who is not a lawyer; their user
// accounts, groups and security policies, the counting bases and the price rules.
class DemoStaff
{
public:
    // Everyone, in the order of their contact identifiers.
    static const QList<DemoPerson>& people();
    // The lawyers with user accounts: the ones who get work, tasks and time entries.
    static QList<DemoPerson> countingLawyers();
    // The user accounts, each a login of the database with password().
    static QList<DemoLogin> logins();
    // The password of every demo user's database login.
    static QString password();
    // The price rule written into new entries (its counter is set) and the older one.
    static constexpr int CurrentPrecoId = 2;
    static constexpr int FormerPrecoId = 1;
    // The counting basis the counter uses, and a former one whose entries the statistics leave out.
    static constexpr int CounterBaseId = 1;
    static constexpr int FormerBaseId = 2;

    // Writes the contacts, lawyers, users, groups, links, policies, bases and price rules.
    // Throws core::Error.
    static void write(DemoWriter& writer);
};

} // namespace tools
