#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The time entries as the counter and the time-entry editor write them: the look-ups a new entry needs
// (its task's work item, case and client, the counting basis, the price rule and the lawyer's price), the one
// INSERT both send, and the statements of an untick that end a running entry. Every function runs on the shared
// connection and throws core::Error when a statement fails.
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

struct NewEntry;
// The owners of a new entry of task: its work item, the item's case and the case's client, looked up in that
// order into entry. Returns the field of the first that is 0 ("TRABALHO_ID", "Processo_ID", "Contacto_ID"),
// before any later look-up is made, or empty text when all three were found.
QString lookUpOwners(qint64 task, NewEntry& entry);
// A running entry of task for lawyer: its owners as above, then the counting basis ("Base_ID"), the price rule
// ("Preco_ID") and the lawyer's price, in that order and with the same stop at the first missing one.
QString lookUpNewEntry(qint64 task, qint32 lawyer, NewEntry& entry);

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

// What an untick did to its entry.
enum class Untick {
    Closed,     // closed with its minutes
    Deleted,    // it had counted ShortestEntry minutes or fewer, and was removed
    NotRunning, // already closed or removed (by another workstation), before the read or meanwhile: nothing changed
};
// Ends running entry as the lawyer's untick at `at` (the workstation's time; none: now) ends it: read first, then
// closed with the minutes counted from its start up to the untick, its end the server's time of the untick
// (GETDATE() for now, or when the server's clock cannot be read), or deleted when those minutes are ShortestEntry
// or fewer. An entry found closed, not in progress or gone is left as it is.
Untick untick(qint64 entry, const std::optional<QDateTime>& at);

// What ending an entry at a moment already past (the beginning of an absence) did to it, as an untick's.
using StopAt = Untick;
// Ends running entry at end (the workstation's time): closed with countedMinutes(its data, end) and data_fim = end,
// or deleted when those are ShortestEntry or fewer; NotRunning also when another workstation closed it meanwhile.
StopAt stopAt(qint64 entry, const QDateTime& end);

// Starts entry (running) as its lawyer's only count: in one transaction, the lawyer's row of tbAdvogados locked so
// that two workstations of the lawyer take turns, every running entry of the lawyer ended as counted up to at by the
// workstation's clock (closed, or deleted when ShortestEntry or less), then entry inserted. Nothing of it stays when
// a statement fails. Returns the new entry's identifier, and in closedTasks the tasks whose entries were closed.
qint64 insertAlone(const NewEntry& entry, const QDateTime& at, QList<qint64>& closedTasks);

// Sends insertStatement and returns the new entry's identifier ("SELECT @@Identity as last").
// Throws 3021 when the identity cannot be read.
qint64 insert(const NewEntry& entry);

} // namespace data::timeEntries
