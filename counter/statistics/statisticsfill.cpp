#include "counter/statistics/statisticsfill.h"

#include "counter/countercontrols.h"
#include "counter/counterreports.h"
#include "counter/listview/listview.h"
#include "counter/widgetcontrol.h"
#include "data/connection.h"
#include "data/moddata.h"
#include "session/modcode.h"

#include <QDateTimeEdit>
#include <QLineEdit>
#include <QLocale>

#include <cmath>
#include <iterator>

namespace counter::statisticsFill {
namespace {

const QString View = QStringLiteral("vwProcessos_Trabalhos_Tarefas_Lancamentos");

// The columns the totals are grouped and ordered by.
QString totalsKeys()
{
    return QStringLiteral("tbContactos.nome_union, %1.processo_no_completo, %1.trabalho, %1.tarefa").arg(View);
}

QString dateCondition(qint32 lawyer, const Bounds& bounds)
{
    using data::modData::SqlLiteral;
    return QStringLiteral("WHERE base_id = 1 AND advogado_id = ") + QString::number(lawyer) +
           QStringLiteral(" AND data >= ") + SqlLiteral(bounds.start, data::modData::literal::Date) +
           QStringLiteral(" AND data <= ") + SqlLiteral(bounds.end, data::modData::literal::Date);
}

// A sorted list would re-sort at every row added: the fill switches sorting off and on again at its end.
class SortingPaused
{
public:
    explicit SortingPaused(ListView& list)
        : m_list(list)
        , m_sorted(list.sorted())
    {
        m_list.setSorted(false);
    }
    ~SortingPaused() { m_list.setSorted(m_sorted); }
    SortingPaused(const SortingPaused&) = delete;
    SortingPaused& operator=(const SortingPaused&) = delete;

private:
    ListView& m_list;
    bool m_sorted;
};

// The field's value unformatted, as a spreadsheet in the Portuguese locale reads a number.
QString rawNumber(const QVariant& value)
{
    if (value.isNull()) {
        return QString();
    }
    return QLocale::c()
        .toString(value.toDouble(), 'f', QLocale::FloatingPointShortest)
        .replace(QLatin1Char('.'), QLatin1Char(','));
}

Bounds pickerBounds(const CounterControls& controls)
{
    return bounds(controls.FXData_Inicio->dateTime(), controls.FXData_Fim->dateTime());
}

// A list's cells: the field each shows, in column order, with its display code.
struct Cell {
    const char* field;
    data::displayFormat::listCode::Code code;
};
namespace code = data::displayFormat::listCode;
constexpr Cell EntryCells[] = {{"data", code::Date},
                               {"data_fim", code::Date},
                               {"tarefa", code::OwnText},
                               {"trabalho", code::OwnText},
                               {"processo_no_completo", code::OwnText},
                               {"unidades", code::Number}};
constexpr Cell TotalCells[] = {{"nome_union", code::OwnText},
                               {"processo_no_completo", code::OwnText},
                               {"trabalho", code::OwnText},
                               {"tarefa", code::OwnText},
                               {"total", code::Number}};

// How a list is filled: the field whose value after "#" keys each row (none: rows without key), its
// cells, and the field of the minutes, kept unformatted in cell rawCell and summed.
struct Layout {
    const char* keyField;
    const Cell* cells;
    int cellCount;
    const char* minutesField;
    int rawCell;
};

// Empties the list and adds a row per record of the statement; returns the sum of the minutes, nulls
// adding nothing. Throws core::Error.
double fillRows(ListView& list, const QString& sql, const Layout& layout, const QIcon& rowIcon)
{
    using data::modData::ListField;
    list.clearRows();
    const SortingPaused paused(list);
    double minutes = 0;
    // The names are made once: a record finds a name it was asked for before by its text's address.
    QStringList fields;
    for (int cell = 0; cell < layout.cellCount; ++cell) {
        fields << QLatin1String(layout.cells[cell].field);
    }
    const QString keyField = layout.keyField ? QString(QLatin1String(layout.keyField)) : QString();
    const QString minutesField = QLatin1String(layout.minutesField);
    auto records = data::Data::SqlServer().openRecordset(sql);
    for (; !records->eof(); records->moveNext()) {
        const data::Recordset& record = *records;
        const QString key = layout.keyField ? QStringLiteral("#") + record.value(keyField).toString() : QString();
        const int row = list.addRow(key, ListField(record, fields.at(0), layout.cells[0].code));
        list.setRowIcon(row, rowIcon);
        for (int cell = 1; cell < layout.cellCount; ++cell) {
            list.setCellText(row, cell, ListField(record, fields.at(cell), layout.cells[cell].code));
        }
        const QVariant rowMinutes = record.value(minutesField);
        list.setCellText(row, layout.rawCell, rawNumber(rowMinutes));
        if (!rowMinutes.isNull()) {
            minutes += rowMinutes.toDouble();
        }
    }
    records->close();
    // Case numbers, dates and minutes show whole; the long texts share what room is left.
    for (int column = 0; column < list.columnCount(); ++column) {
        if (!list.columnShares(column)) {
            list.fitColumnToCells(column);
        }
    }
    return minutes;
}

void showTotal(const CounterControls& controls, double minutes)
{
    SetControlValue(controls.FXTotal, hoursOf(minutes), data::displayFormat::bindingCode::Number);
}

core::ReportLabels labels(const QString& owner)
{
    return reports::lists(owner, QStringLiteral("FillLancamentos"));
}

} // namespace

Bounds bounds(const QDateTime& startDay, const QDateTime& endDay)
{
    return {QDateTime(startDay.date(), QTime(0, 0)), QDateTime(endDay.date(), QTime(23, 59, 59))};
}

QString entriesStatement(qint32 lawyer, const Bounds& bounds)
{
    return QStringLiteral("SELECT * FROM ") + View + QLatin1Char(' ') + dateCondition(lawyer, bounds);
}

QString totalsStatement(qint32 lawyer, const Bounds& bounds)
{
    return QStringLiteral("SELECT %1, SUM(unidades) as total FROM %2 LEFT JOIN tbContactos ON %2.contacto_id = "
                          "tbContactos.contacto_id ")
               .arg(totalsKeys(), View) +
           dateCondition(lawyer, bounds) + QStringLiteral("  GROUP BY ") + totalsKeys() + QStringLiteral(" ") +
           QStringLiteral(" ORDER BY ") + totalsKeys() + QStringLiteral(" ");
}

double hoursOf(double minutes)
{
    // nearbyint rounds in the default mode, a half to the even neighbour.
    return std::nearbyint(minutes * 100.0 / 60.0) / 100.0;
}

void entries(const CounterControls& controls, const QIcon& rowIcon, const QString& owner, int L)
{
    ListView& list = *controls.ListView2;
    core::trap(labels(owner), [&] {
        const double minutes =
            fillRows(list, entriesStatement(session::modCode::AdvogadoID, pickerBounds(controls)),
                     {"lancamento_id", EntryCells, int(std::size(EntryCells)), "unidades", EntriesRawMinutes}, rowIcon);
        // Selected once the rows are in their shown order, so that the row scrolled to stays in view.
        const int wanted = L == 0 ? -1 : list.findKey(QStringLiteral("#%1").arg(L));
        if (wanted >= 0) {
            list.selectRow(wanted);
        }
        showTotal(controls, minutes);
    });
}

void totals(const CounterControls& controls, const QIcon& rowIcon, const QString& owner)
{
    core::trap(labels(owner), [&] {
        const double minutes =
            fillRows(*controls.ListView3, totalsStatement(session::modCode::AdvogadoID, pickerBounds(controls)),
                     {nullptr, TotalCells, int(std::size(TotalCells)), "total", TotalsRawMinutes}, rowIcon);
        showTotal(controls, minutes);
    });
}

} // namespace counter::statisticsFill
