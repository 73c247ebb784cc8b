#pragma once

#include "data/binding/listcontrol.h"

#include <QDateTime>
#include <QString>

namespace data::modControlFill {

// The database server's current date and time, read on the shared connection.
// Reports nothing: on any failure returns 1 January 1900 at 00:00:00, the no-date value.
QDateTime ServerDate();

// Fills a combo or list box from a statement on the shared connection: one entry per record
// with the display field's text, and, when idField is not empty, the identifier as its ItemData.
// Field names are compared exactly (letter case counts). When the statement gives no record, or
// a named field is missing, the control keeps its entries; records with a null display are
// skipped. Errors (a null identifier among them) are reported (owner "modControlFill") and end
// the fill with the entries added so far.
void ControlFill(ListControl& control, const QString& sql, const QString& displayField, const QString& idField);

} // namespace data::modControlFill
