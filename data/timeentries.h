#pragma once

#include <QDateTime>
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

// Sends insertStatement and returns the new entry's identifier ("SELECT @@Identity as last").
// Throws 3021 when the identity cannot be read.
qint64 insert(const NewEntry& entry);

} // namespace data::timeEntries
