#include "external/com/adorecord_win.h"

#include "core/com/bstr_win.h"
#include "core/com/dispatcher_win.h"
#include "core/com/variant_win.h"
#include "core/errorvalue.h"
#include "data/connection.h"
#include "external/com/adointerfaces_win.h"

namespace external::com {
namespace {

// ADODB.Recordset; its _Recordset (ADO 2.5 on), which components are compiled against, and Recordset15, the first.
constexpr CLSID RecordsetClass = {0x00000535, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
constexpr IID RecordsetInterface = {0x00000556, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
constexpr IID Recordset15Interface = {0x0000050E, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

// ADO's DataTypeEnum, FieldAttributeEnum, CursorTypeEnum and LockTypeEnum values used here.
enum : int { adInteger = 3, adDouble = 5, adDate = 7, adBoolean = 11, adVarWChar = 202 };
constexpr int NullableField = 0x20 | 0x40; // adFldIsNullable | adFldMayBeNull
constexpr int adOpenStatic = 3;
constexpr int adLockOptimistic = 3;

QPair<int, int> fieldTypeOf(const QVariant& value)
{
    switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
        return {adInteger, 4};
    case QMetaType::Double:
        return {adDouble, 8};
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        return {adDate, 8};
    case QMetaType::Bool:
        return {adBoolean, 2};
    default:
        return {adVarWChar, int(qMax<qsizetype>(value.toString().size(), 1))};
    }
}

VARIANT missing()
{
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_ERROR;
    V_ERROR(&value) = DISP_E_PARAMNOTFOUND;
    return value;
}

void check(HRESULT result, const char* step)
{
    if (FAILED(result)) {
        throw core::Error(int(result),
                          QStringLiteral("The record could not be handed over as an ADO recordset (%1): %2")
                              .arg(QLatin1String(step), core::com::describeResult(result)));
    }
}

} // namespace

core::com::ComRef<IDispatch> adoRecordOf(const data::Recordset& record)
{
    using core::com::ComRef;
    ComRef<AdoRecordset> set;
    HRESULT result = CoCreateInstance(RecordsetClass, nullptr, CLSCTX_INPROC_SERVER, RecordsetInterface,
                                      reinterpret_cast<void**>(set.out()));
    if (FAILED(result)) {
        result = CoCreateInstance(RecordsetClass, nullptr, CLSCTX_INPROC_SERVER, Recordset15Interface,
                                  reinterpret_cast<void**>(set.out()));
    }
    check(result, "ADODB.Recordset");

    const QStringList names = record.fieldNames();
    QVariantList values;
    ComRef<AdoFields> fields;
    check(set->get_Fields(fields.out()), "Fields");
    for (const QString& name : names) {
        values << record.value(name);
        const auto [type, size] = fieldTypeOf(values.last());
        core::com::Bstr text(name);
        check(fields->Append(text.get(), type, size, NullableField, missing()), "Fields.Append");
    }
    check(set->Open(missing(), missing(), adOpenStatic, adLockOptimistic, -1), "Open");
    check(set->AddNew(missing(), missing()), "AddNew");
    check(set->get_Fields(fields.out()), "Fields");
    for (qsizetype i = 0; i < names.size(); ++i) {
        core::com::Variant index{QVariant(names.at(i))};
        core::com::Variant value(values.at(i));
        ComRef<AdoField> field;
        check(fields->get_Item(*index.get(), field.out()), "Fields.Item");
        check(field->put_Value(*value.get()), "Field.Value");
    }
    // The new row stays current whether or not this ADO commits it: a component reads its values either way.
    result = set->Update(missing(), missing());
    if (result != E_NOTIMPL) {
        check(result, "Update");
    }
    return ComRef<IDispatch>::share(set.get());
}

} // namespace external::com
