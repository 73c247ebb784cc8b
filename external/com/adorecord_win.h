#pragma once

#include "core/com/comref_win.h"

#include <windows.h>

namespace data {
class Recordset;
}

namespace external::com {

// An ADO recordset of its own holding the current record of record: the same field names in the same order, each
// with the type of its value (text, 32-bit whole number, double, date, flag; a null as a nullable text), open and
// positioned on its one row, as the office's components expect the record they are to open. It is disconnected:
// a component reads it, and saves through its own connection. Returned as ADO's _Recordset interface (the one
// components are compiled against), or as its IDispatch where ADO does not give that. Throws core::Error when ADO
// cannot be created or refuses a field.
core::com::ComRef<IDispatch> adoRecordOf(const data::Recordset& record);

} // namespace external::com
