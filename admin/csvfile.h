#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace admin {

// A problem with one line of an input file.
struct LineProblem {
    int line = 0;
    QString reason;
};

// One record of a CSV file and the line it starts on (a quoted field may span lines).
struct CsvRecord {
    int line = 0;
    QStringList fields;
};

// A CSV file as the import reads it: UTF-8 (a leading byte-order mark is dropped), fields separated
// by ';', the first record a header. A field in double quotes may hold ';', line breaks and doubled
// double quotes; fields are not trimmed. Blank lines are skipped.
struct CsvTable {
    QStringList header;
    QList<CsvRecord> records;
    // The first line that is not UTF-8, or a quote that is never closed (named by the line it opens on).
    QList<LineProblem> problems;

    static CsvTable parse(const QByteArray& bytes);
};

} // namespace admin
