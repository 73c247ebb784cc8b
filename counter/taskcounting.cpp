#include "counter/taskcounting.h"

#include "core/clock.h"
#include "core/messagebox.h"
#include "counter/counterreports.h"
#include "counter/listview.h"
#include "counter/livecounter.h"
#include "counter/recordlookup.h"
#include "counter/taskrow.h"
#include "data/connection.h"
#include "data/displayformat.h"
#include "data/moddata.h"
#include "data/timeentries.h"
#include "data/timeentrystop.h"
#include "session/modcode.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QWidget>

namespace counter {
namespace {

// An entry must have counted more than this many minutes to be kept.
constexpr qint64 ShortestEntry = 1;

using data::timeEntries::countedMinutes;

} // namespace

TaskCounting::TaskCounting(QWidget& window, ListView& list, QCheckBox& multitasking, LiveCounter& live, Refill refill)
    : QObject(&window)
    , m_window(window)
    , m_list(list)
    , m_multitasking(multitasking)
    , m_live(live)
    , m_refill(std::move(refill))
{}

void TaskCounting::tickChanged(int row)
{
    // A locked database makes a statement wait (at most the engine's busy time-out): show that the
    // window is busy meanwhile.
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    const QString key = m_list.key(row);
    const bool done = core::trap(reports::window(m_window.objectName(), QStringLiteral("ListView1_ItemClick")), [&] {
        if (m_list.checked(row)) {
            start(row);
        } else {
            stop(row);
        }
    });
    if (!done) {
        // A statement failed half-way: the list shows again what the database holds, so a failed tick
        // is unticked and a failed untick keeps counting.
        int K = key.mid(1).toInt();
        m_refill(K);
    }
    QGuiApplication::restoreOverrideCursor();
}

void TaskCounting::stop(int row)
{
    const QString E = m_list.cellText(row, taskRow::Entry);
    if (E.trimmed().isEmpty()) {
        return;
    }
    auto entry = data::Data::SqlServer().openRecordset(
        QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = ") + E);
    const bool gone = entry->eof();
    const QDateTime started = gone ? QDateTime() : entry->value(QStringLiteral("data")).toDateTime();
    const QVariant running = gone ? QVariant() : entry->value(QStringLiteral("inprogress"));
    const bool closedElsewhere =
        gone || !entry->value(QStringLiteral("data_fim")).isNull() || running.isNull() || running.toDouble() == 0;
    entry->close();
    if (closedElsewhere) {
        // Another workstation of the same lawyer closed or removed the entry: it is neither counted again
        // nor deleted, and the list shows what the database holds.
        int K = m_list.key(row).mid(1).toInt();
        m_refill(K);
        return;
    }

    if (countedMinutes(started, core::Clock::now()) > ShortestEntry) {
        const qint64 M = countedMinutes(started, core::Clock::now());
        data::Data::SqlServer().execute(
            QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET data_fim = GETDATE(), inprogress = 0, "
                           "unidades = ") +
            data::modData::SqlLiteral(M, data::modData::literal::Number) + QStringLiteral(" WHERE lancamento_id = ") +
            E);
        int K = m_list.key(row).mid(1).toInt();
        m_refill(K);
        if (m_window.isVisible()) {
            m_list.setFocus();
        }
    } else {
        data::Data::SqlServer().execute(
            QStringLiteral("DELETE FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = ") + E);
    }
}

void TaskCounting::start(int row)
{
    const QString key = m_list.key(row);
    if (!m_multitasking.isChecked()) {
        stopOthers(key);
    }
    const qint64 K = recordLookup::keyId(key);

    qint64 W = 0, P = 0, C = 0, B = 0, Q = 0;
    if (!lookUpForStart(key, W, P, C, B, Q)) {
        untick(key);
        return;
    }
    data::timeEntries::NewEntry entry;
    entry.task = K;
    entry.work = W;
    entry.caseId = P;
    entry.client = C;
    entry.lawyer = session::modCode::AdvogadoID;
    entry.basis = B;
    entry.priceRule = Q;
    entry.price = data::timeEntries::lawyerPrice(session::modCode::AdvogadoID);
    const qint64 N = data::timeEntries::insert(entry);

    markRunning(key, N);
    m_live.restart();
}

void TaskCounting::stopOthers(const QString& key)
{
    // The walk goes by position; a stop may rebuild the list under it.
    const int N = m_list.rowCount();
    for (int i = 0; i < N; ++i) {
        if (m_list.key(i) == key || !m_list.checked(i) || m_list.cellText(i, taskRow::Entry).trimmed().isEmpty()) {
            continue;
        }
        stop(i);
        m_list.setChecked(i, false);
    }
}

bool TaskCounting::lookUpForStart(const QString& key, qint64& W, qint64& P, qint64& C, qint64& B, qint64& Q)
{
    if (!recordLookup::taskOwners(recordLookup::keyId(key), W, P, C)) {
        return false;
    }
    B = data::timeEntries::countingBasis();
    if (B == 0) {
        recordLookup::missingField(QStringLiteral("Base_ID"));
        return false;
    }
    Q = data::timeEntries::priceRule();
    if (Q == 0) {
        recordLookup::missingField(QStringLiteral("Preco_ID"));
        return false;
    }
    return true;
}

void TaskCounting::markRunning(const QString& key, qint64 entry)
{
    const int row = m_list.findKey(key);
    if (row < 0) {
        return;
    }
    m_list.setChecked(row, true);
    m_list.setCellText(row, taskRow::Start, data::displayFormat::dateTimeText(core::Clock::now()));
    m_list.setCellText(row, taskRow::Entry, QString::number(entry));
}

void TaskCounting::untick(const QString& key)
{
    const int row = m_list.findKey(key);
    if (row >= 0) {
        m_list.setChecked(row, false);
    }
}

} // namespace counter
