#include "counter/statisticsfill.h"

#include "counter/countercontrols.h"
#include "counter/counterreports.h"
#include "counter/listview.h"
#include "counter/widgetcontrol.h"
#include "data/connection.h"
#include "data/modcontrols.h"
#include "data/moddata.h"
#include "session/modcode.h"

#include <QDateTimeEdit>
#include <QLineEdit>
#include <QLocale>

#include <cmath>
#include <functional>

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

// Empties the list and adds a row per record of the statement through addRow, which returns the
// record's minutes; returns their sum, nulls adding nothing. Throws core::Error.
double fillRows(ListView& list, const QString& sql,
                const std::function<QVariant(const data::Recordset& record)>& addRow)
{
    list.clearRows();
    const SortingPaused paused(list);
    double minutes = 0;
    auto records = data::Data::SqlServer().openRecordset(sql);
    for (; !records->eof(); records->moveNext()) {
        const QVariant rowMinutes = addRow(*records);
        if (!rowMinutes.isNull()) {
            minutes += rowMinutes.toDouble();
        }
    }
    records->close();
    return minutes;
}

void showTotal(const CounterControls& controls, double minutes)
{
    data::modControls::SetControlValue(*WidgetControl::of(controls.FXTotal), hoursOf(minutes), 2);
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
    using data::modData::ListField;
    ListView& list = *controls.ListView2;
    const QString wanted = QStringLiteral("#%1").arg(L);
    core::trap(labels(owner), [&] {
        bool found = false;
        const double minutes =
            fillRows(list, entriesStatement(session::modCode::AdvogadoID, pickerBounds(controls)),
                     [&](const data::Recordset& record) {
                         const QString key =
                             QStringLiteral("#") + record.value(QStringLiteral("lancamento_id")).toString();
                         const int row = list.addRow(key, ListField(record, QStringLiteral("data"), 1));
                         list.setRowIcon(row, rowIcon);
                         list.setCellText(row, 1, ListField(record, QStringLiteral("data_fim"), 1));
                         list.setCellText(row, 2, ListField(record, QStringLiteral("tarefa"), 3));
                         list.setCellText(row, 3, ListField(record, QStringLiteral("trabalho"), 3));
                         list.setCellText(row, 4, ListField(record, QStringLiteral("processo_no_completo"), 3));
                         list.setCellText(row, 5, ListField(record, QStringLiteral("unidades"), 2));
                         const QVariant units = record.value(QStringLiteral("unidades"));
                         list.setCellText(row, EntriesRawMinutes, rawNumber(units));
                         found = found || (L != 0 && key == wanted);
                         return units;
                     });
        // Selected once the rows are in their shown order, so that the row scrolled to stays in view.
        if (found) {
            list.selectRow(list.findKey(wanted));
        }
        showTotal(controls, minutes);
    });
}

void totals(const CounterControls& controls, const QIcon& rowIcon, const QString& owner)
{
    using data::modData::ListField;
    ListView& list = *controls.ListView3;
    core::trap(labels(owner), [&] {
        const double minutes =
            fillRows(list, totalsStatement(session::modCode::AdvogadoID, pickerBounds(controls)),
                     [&](const data::Recordset& record) {
                         const int row = list.addRow(QString(), ListField(record, QStringLiteral("nome_union"), 3));
                         list.setRowIcon(row, rowIcon);
                         list.setCellText(row, 1, ListField(record, QStringLiteral("processo_no_completo"), 3));
                         list.setCellText(row, 2, ListField(record, QStringLiteral("trabalho"), 3));
                         list.setCellText(row, 3, ListField(record, QStringLiteral("tarefa"), 3));
                         list.setCellText(row, 4, ListField(record, QStringLiteral("total"), 2));
                         const QVariant total = record.value(QStringLiteral("total"));
                         list.setCellText(row, TotalsRawMinutes, rawNumber(total));
                         return total;
                     });
        showTotal(controls, minutes);
    });
}

} // namespace counter::statisticsFill
