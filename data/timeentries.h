#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The time entries as the counter and the time-entry editor write them: the look-ups a new entry needs
// (its task's work item, case and client, the counting basis, the price rule and the lawyer's price) and
// the one INSERT both send. Every function runs on the shared connection and throws core::Error when a
// statement fails.
namespace data::timeEntries {

// The first record's field as a whole number; 0 when no record comes back or the field is null.
qint64 lookUpWhole(const QString& statement, const QString& field);

// The identifiers a new entry copies, each 0 when its row or value is missing.
qint64 workOfTask(qint64 task);
qint64 caseOfWork(qint64 work);
qint64 clientOfCase(qint64 caseId);
// The counting basis and the price rule: the first row of their table with counter set.
qint64 countingBasis();
qint64 priceRule();
// tbAdvogados.preco of the lawyer; 0 without a row or a price.
float lawyerPrice(qint32 lawyer);

// "Erro no campo FIELD. Não foi possível iniciar o registo. …": what is shown when a look-up finds nothing.
QString missingFieldText(const QString& field);

// A new entry. Without start it begins at the server's clock and runs (data_fim null, inprogress 1, unidades 0);
// with start and end it is closed with the minutes given.
struct NewEntry {
    qint64 task = 0;
    qint64 work = 0;
    qint64 caseId = 0;
    qint64 client = 0;
    qint32 lawyer = 0;
    qint64 basis = 0;
    qint64 priceRule = 0;
    float price = 0;
    std::optional<QDateTime> start;
    std::optional<QDateTime> end;
    qint64 minutes = 0;
    // A note kept in the entry's descrit; the column is named only when a note is given.
    std::optional<QString> note;
};

QString insertStatement(const NewEntry& entry);

// Whole minutes from start to end, a half minute going to the even neighbour (2:30 gives 2).
qint64 countedMinutes(const QDateTime& start, const QDateTime& end);
// An entry must have counted more than this many minutes to be kept; a shorter one is deleted.
constexpr qint64 ShortestEntry = 1;

// The statements that end a running entry: closed at end (a date expression of the statement: "GETDATE()" or a
// literal) with its minutes, or deleted. Each changes the entry only while it still runs (inprogress set, no
// data_fim), so an entry is never closed twice nor a closed one deleted.
QString closeStatement(qint64 entry, qint64 minutes, const QString& end);
QString dropStatement(qint64 entry);
// Send them; true when the entry was still running and so was closed or deleted.
bool close(qint64 entry, qint64 minutes, const QString& end);
bool drop(qint64 entry);

// Starts entry (running) as its lawyer's only count: in one transaction, the lawyer's row of tbAdvogados locked so
// that two workstations of the lawyer take turns, every running entry of the lawyer ended as counted up to at by the
// workstation's clock (closed, or deleted when ShortestEntry or less), then entry inserted. Nothing of it stays when
// a statement fails. Returns the new entry's identifier, and in closedTasks the tasks whose entries were closed.
qint64 insertAlone(const NewEntry& entry, const QDateTime& at, QList<qint64>& closedTasks);

// Sends insertStatement and returns the new entry's identifier ("SELECT @@Identity as last").
// Throws 3021 when the identity cannot be read.
qint64 insert(const NewEntry& entry);

} // namespace data::timeEntries
