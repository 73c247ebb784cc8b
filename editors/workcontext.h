#pragma once

#include <QString>

namespace data {
class Recordset;
}

namespace editors {

// The current record's field as an editor shows it: its text, blank for null. Throws core::Error.
QString fieldText(const data::Recordset& record, const QString& field);

// What an editor shows about the work item a record belongs to; blank texts for what is missing.
struct WorkContext {
    QString work;       // the work item's description
    QString caseNumber; // processo_no_completo
    QString client;     // the case's client
    QString lawyer;     // the lawyer the work item is assigned to
};

// The context of work item workId (0 or a missing work item: all blank). Throws core::Error.
WorkContext workContext(qint64 workId);

// The description of task taskId, blank when it has none. Throws core::Error.
QString taskDescription(qint64 taskId);

} // namespace editors
