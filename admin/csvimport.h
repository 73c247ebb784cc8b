#pragma once

#include "admin/csvfile.h"

#include <QList>
#include <QString>

namespace data {
class Connection;
}

namespace admin {

// The CSV files of one import; an empty path leaves that kind out. Their header rows name columns of
// the tables they fill (an identifier column is required in each):
//   clients  tbContactos                    contacto_id, nome_union, nif, morada, localidade, telefone, email
//   cases    tbProcessos                    processo_id, processo_no_completo, contacto_id, judicial, tribunal,
//                                           descrit, data_abertura
//   work     tbProcessos_Trabalhos          trabalho_id, processo_id, descrit, advogado_id, prazos, data_legal,
//                                           data_escritorio, data
//   tasks    tbProcessos_Trabalhos_Tarefas  tarefa_id, trabalho_id, descrit, data, closed, escondida
// Dates are day first ("31-12-2009", with an optional "14:30" or "14:30:00") or ISO ("2009-12-31").
struct ImportFiles {
    QString clients;
    QString cases;
    QString work;
    QString tasks;
};

struct FileProblem {
    QString file;
    int line = 0;
    QString reason;
};

struct ImportResult {
    QList<FileProblem> problems; // when not empty, nothing was written
    int rows = 0;                // rows written
};

// Reads and checks every row of every file first: identifiers are whole numbers not yet in the
// database nor repeated, references name a row of the database or of a file of this import (a case's
// client, a work item's case and lawyer, a task's work item), dates are dates, flags 0 or 1, required
// texts present. Only when no row is bad are the rows written, in one transaction, clients first.
// Throws core::Error when a file cannot be read or the database fails (then nothing stays written).
ImportResult importCsv(data::Connection& office, const ImportFiles& files);

} // namespace admin
