#include "counter/pendingtasks.h"

#include "core/program.h"
#include "counter/counterreports.h"
#include "counter/listview/listview.h"
#include "counter/taskrow.h"
#include "data/binding/modcontrolfill.h"
#include "data/connection.h"
#include "data/moddata.h"
#include "session/modcode.h"

#include <QCheckBox>

#include <optional>

namespace counter {
namespace {

constexpr quint32 BandBlue = 0xAF5C30;
constexpr quint32 BandGrey = 0x3F3F3F;
constexpr quint32 OverdueRed = 0xC0;
constexpr quint32 HiddenGrey = 0xC0C0C0;
constexpr int ReturnMemoryAfterMs = 500;

bool isSet(const QVariant& flag)
{
    return !flag.isNull() && flag.toDouble() != 0;
}

} // namespace

PendingTasks::PendingTasks(QWidget& window, ListView& list, QCheckBox& showHidden)
    : QObject(&window)
    , m_window(window)
    , m_list(list)
    , m_showHidden(showHidden)
    , m_returnMemory(this)
{
    // Trimming the heap at every fill cost each refill about a millisecond of the frame (the other core's
    // mapping flush, then the next sort faulting the pages in again); after a pause it costs the lawyer nothing.
    m_returnMemory.setObjectName(QStringLiteral("ReturnMemory"));
    m_returnMemory.setSingleShot(true);
    m_returnMemory.setInterval(ReturnMemoryAfterMs);
    connect(&m_returnMemory, &QTimer::timeout, this, [] { core::returnFreedMemory(); });
}

bool PendingTasks::anyRunning() const
{
    return !m_list.checkedRows().isEmpty();
}

void PendingTasks::fill(int T)
{
    core::trap(reports::window(m_window.objectName(), QStringLiteral("Startup")), [&] { rebuild(T); });
    m_returnMemory.start();
    Q_EMIT filled();
}

void PendingTasks::rebuild(int T)
{
    using data::modData::ListField;
    namespace code = data::displayFormat::listCode;
    ListView& list = m_list;
    // The rows go only once the database has answered: when it cannot be reached, the list keeps what it
    // last said instead of showing no task at all.
    auto records = data::Data::SqlServer().openRecordset(
        QStringLiteral("SELECT * FROM vwProcessos_Trabalhos_Tarefas WHERE closed = 0 AND advogado_id = ") +
        QString::number(session::modCode::AdvogadoID) +
        QStringLiteral(" ORDER BY escondida, data_escritorio, trabalho_id, data, processo_no_completo"));
    list.clearRows();
    list.reserveRows(int(records->rowCount()));
    {

        bool band = false;
        QString previousWork;
        // The server's date is read once for the whole fill: one round trip instead of one per row.
        std::optional<QDateTime> today;
        for (; !records->eof(); records->moveNext()) {
            const data::Recordset& record = *records;
            const QVariant taskId = record.value(QStringLiteral("tarefa_id"));
            const int row = list.addRow(QStringLiteral("#") + taskId.toString(),
                                        ListField(record, QStringLiteral("descrit"), code::OwnText));
            list.setRowToolTip(row, ListField(record, QStringLiteral("cliente"), code::OwnText));

            const QVariant hidden = record.value(QStringLiteral("escondida"));
            const QStringList cells{
                taskRow::idleCounter(),
                ListField(record, QStringLiteral("total_tempo"), code::Number),
                ListField(record, QStringLiteral("data_legal"), code::Date),
                ListField(record, QStringLiteral("trabalho"), code::OwnText),
                ListField(record, QStringLiteral("processo_no_completo"), code::OwnText),
                ListField(record, QStringLiteral("data_escritorio"), code::Date),
                ListField(record, QStringLiteral("data_inicio"), code::DateTime),
                ListField(record, QStringLiteral("inprogress"), code::OwnText),
                ListField(record, QStringLiteral("lancamento_id"), code::OwnText),
                hidden.isNull() ? taskRow::visibleMarker()
                                : ListField(record, QStringLiteral("escondida"), code::OwnText),
            };
            for (int cell = 1; cell <= cells.size(); ++cell) {
                list.setCellText(row, cell, cells[cell - 1]);
            }

            if (!taskId.isNull() && taskId.toLongLong() == T) {
                list.selectRow(row);
            }
            if (isSet(record.value(QStringLiteral("inprogress")))) {
                list.setChecked(row, true);
                if (T == 0) {
                    list.selectRow(row);
                }
            }

            auto colourRow = [&](quint32 colour) {
                for (int cell = 0; cell <= taskRow::LastShown; ++cell) {
                    list.setCellForeColor(row, cell, colour);
                }
            };
            const QVariant work = record.value(QStringLiteral("trabalho_id"));
            if (!work.isNull() && work.toString() != previousWork) {
                band = !band;
                previousWork = work.toString();
            }
            colourRow(band ? BandBlue : BandGrey);

            const QVariant officeDeadline = record.value(QStringLiteral("data_escritorio"));
            if (!officeDeadline.isNull()) {
                const QDateTime dayBefore(officeDeadline.toDateTime().date().addDays(-1), QTime(0, 0));
                if (!today) {
                    today = data::modControlFill::ServerDate();
                }
                if (dayBefore <= *today) {
                    colourRow(OverdueRed);
                }
            }
            if (!m_showHidden.isChecked() && list.cellText(row, taskRow::Hidden) != taskRow::visibleMarker()) {
                colourRow(HiddenGrey);
            }
        }
        records->close();
        list.fitColumnToCells(taskRow::Dossier);
    }
}

} // namespace counter
