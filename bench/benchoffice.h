#pragma once

#include "data/office/postgresoffice.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace bench {

// Demo offices for the figures, in a temporary folder that goes with this object. Each office is the
// demo office generator's, built for the figure's size, with the pending tasks of the demo supervisor
// (the lawyer every figure logs in as) set to exactly the size asked for: the generator shares its
// tasks among five lawyers and stops at 10,000 tasks, so extra tasks are copies of her own, closed
// ones are the newest of hers, and the running ones are hers too. The shared account and the lawyer log in
// with hashes of the cost orvadmin stores (the generator's are cheap, for its own speed), so that every
// start pays what a start in a real office pays.
class BenchOffice
{
public:
    // The lawyer every figure counts as: login, its contact number, and the demo password.
    static QString lawyerLogin();
    static int lawyerId();
    static QString password();

    // officeScale multiplies the generator's size for each office (1: as many tasks as the figure's size).
    explicit BenchOffice(double officeScale = 1.0);

    // From now on every office is made on this PostgreSQL server, as a copy of the file make builds, with the
    // demo logins as roles; connections of this process open on that engine. Throws core::Error.
    void useServer(const data::PostgresTarget& server);
    bool onServer() const { return m_server.has_value(); }
    // The size column of a figure: the number of tasks, and the engine when it is the server's.
    QString sizeLabel(int pending) const;
    // The size column of a figure in an office of officeTasks tasks.
    QString sizeLabel(int pending, int officeTasks) const;

    // A fresh database whose lawyer has `pending` open tasks, `running` of them being counted since an hour ago
    // (or since midnight, whichever is later): its file, or its name on the server. officeTasks sizes the office
    // around them (0: the scale given to the constructor). Throws core::Error.
    QString make(int pending, int running, int officeTasks = 0);
    // The generator's size for an office at `pending` tasks (officeTasks 0: by the scale).
    int officeSize(int pending, int officeTasks = 0) const;

    // Points this machine's settings (the registry folders of this object) at the database, remembering
    // the lawyer's login. Throws core::Error.
    void pointSettingsAt(const QString& database);
    // The connection text of a login on a database, as start-up opens it; the shared account's by default.
    QString connectionText(const QString& database, const QString& user = QString(),
                           const QString& password = QString()) const;

    QString folder() const { return m_dir.path(); }

private:
    QString baseOffice(int generatorSize);
    QString makeFile(int pending, int running, int officeTasks);

    QTemporaryDir m_dir;
    double m_scale;
    QDate m_day;
    int m_made = 0;
    QHash<int, QString> m_bases; // by generator size
    std::optional<data::PostgresTarget> m_server;
};

} // namespace bench
