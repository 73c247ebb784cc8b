#include "data/binding/modcontrolfill.h"

#include "core/errorreport.h"
#include "data/connection.h"
#include "data/valuetext.h"

#include <memory>

namespace data::modControlFill {

namespace {

const core::ReportLabels labels{QStringLiteral("ControlFill"),
                                QStringLiteral("ControlFill"),
                                QStringLiteral("modControlFill"),
                                QStringLiteral("ControlFill"),
                                core::Rule::C,
                                core::TextForm::Description};

void fill(ListControl& control, Recordset& records, const QString& displayField, const QString& idField)
{
    if (records.eof()) {
        return;
    }
    const QStringList names = records.fieldNames();
    const bool withId = !idField.isEmpty();
    if (!names.contains(displayField, Qt::CaseSensitive) || (withId && !names.contains(idField, Qt::CaseSensitive))) {
        return;
    }
    control.Clear();
    for (; !records.eof(); records.moveNext()) {
        const QVariant display = records.value(displayField);
        if (valueText::isNull(display)) {
            continue;
        }
        control.AddItem(valueText::text(display));
        if (withId) {
            control.setItemData(control.NewIndex(), valueText::toLong(records.value(idField)));
        }
    }
}

} // namespace

QDateTime ServerDate()
{
    try {
        const std::unique_ptr<Recordset> records =
            Data::SqlServer().openRecordset(QStringLiteral("SELECT GETDATE() AS DATE"));
        return valueText::toDateTime(records->value(QStringLiteral("date")));
    } catch (...) {
        return valueText::noDate();
    }
}

void ControlFill(ListControl& control, const QString& sql, const QString& displayField, const QString& idField)
{
    std::unique_ptr<Recordset> records;
    core::trap(labels, [&] {
        records = Data::SqlServer().openRecordset(sql);
        fill(control, *records, displayField, idField);
    });
    if (records) {
        try {
            records->close();
        } catch (...) {
            // Releasing a result on a broken connection has nothing left to report.
        }
    }
}

} // namespace data::modControlFill
