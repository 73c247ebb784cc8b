#include "counter/taskcounting.h"

#include "core/clock.h"
#include "core/messagebox.h"
#include "counter/counterreports.h"
#include "counter/listview.h"
#include "counter/livecounter.h"
#include "counter/taskrow.h"
#include "data/connection.h"
#include "data/displayformat.h"
#include "data/moddata.h"
#include "data/valuetext.h"
#include "session/modcode.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QWidget>

namespace counter {
namespace {

// An entry must have counted more than this many minutes to be kept.
constexpr qint64 ShortestEntry = 1;

// Whole minutes from start to end, a half minute going to the even neighbour (2:30 gives 2).
qint64 countedMinutes(const QDateTime& start, const QDateTime& end)
{
    constexpr qint64 Minute = 60000;
    const qint64 elapsed = start.msecsTo(end);
    qint64 minutes = elapsed / Minute;
    qint64 rest = elapsed % Minute;
    if (rest < 0) {
        minutes -= 1;
        rest += Minute;
    }
    if (2 * rest > Minute || (2 * rest == Minute && minutes % 2 != 0)) {
        minutes += 1;
    }
    return minutes;
}

// The first record's field as a whole number; 0 when there is no record or the field is null.
qint64 lookUp(const QString& statement, const QString& field)
{
    auto records = data::Data::SqlServer().openRecordset(statement);
    qint64 value = 0;
    if (!records->eof()) {
        const QVariant found = records->value(field);
        value = found.isNull() ? 0 : data::valueText::toLong(found);
    }
    records->close();
    return value;
}

void startFailed(const char* field)
{
    core::msgBox(QStringLiteral("Erro no campo %1. Não foi possível iniciar o registo. Contacto o Administrador do "
                                "Sistema.")
                     .arg(QLatin1String(field)),
                 core::Buttons::Ok, core::Icon::Critical);
}

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
    const QString K = key.mid(1);

    qint64 W = 0, P = 0, C = 0, B = 0, Q = 0;
    if (!lookUpForStart(K, W, P, C, B, Q)) {
        untick(key);
        return;
    }
    auto lawyer =
        data::Data::SqlServer().openRecordset(QStringLiteral("SELECT * FROM tbAdvogados WHERE contacto_id = ") +
                                              QString::number(session::modCode::AdvogadoID));
    float V = 0;
    if (!lawyer->eof()) {
        const QVariant price = lawyer->value(QStringLiteral("preco"));
        V = price.isNull() ? 0.0f : price.toFloat();
    }
    lawyer->close();

    const QStringList values{K,
                             QString::number(W),
                             QString::number(P),
                             QString::number(C),
                             QStringLiteral("GETDATE()"),
                             QStringLiteral("null"),
                             QString::number(session::modCode::AdvogadoID),
                             QString::number(B),
                             QStringLiteral("0"),
                             QString::number(Q),
                             data::modData::SqlLiteral(QVariant::fromValue(V), data::modData::literal::Number),
                             QStringLiteral("1"),
                             QStringLiteral("0"),
                             QStringLiteral("GETDATE()")};
    data::Data::SqlServer().execute(
        QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, trabalho_id, processo_id, "
                       "contacto_id, data, data_fim, advogado_id, base_id, unidades, preco_id, preco, inprogress, "
                       "closed, inprogress_time) VALUES (") +
        values.join(QStringLiteral(", ")) + QLatin1Char(')'));

    auto identity = data::Data::SqlServer().openRecordset(QStringLiteral("SELECT @@Identity as last"));
    if (identity->eof()) {
        throw core::standardError(core::errc::NoCurrentRecord);
    }
    const qint64 N = identity->value(QStringLiteral("last")).toLongLong();
    identity->close();

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

bool TaskCounting::lookUpForStart(const QString& K, qint64& W, qint64& P, qint64& C, qint64& B, qint64& Q)
{
    W = lookUp(QStringLiteral("SELECT trabalho_id FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = ") + K,
               QStringLiteral("trabalho_id"));
    if (W == 0) {
        startFailed("TRABALHO_ID");
        return false;
    }
    P = lookUp(QStringLiteral("SELECT Processo_ID FROM tbProcessos_Trabalhos WHERE trabalho_id = ") +
                   QString::number(W),
               QStringLiteral("Processo_ID"));
    if (P == 0) {
        startFailed("Processo_ID");
        return false;
    }
    C = lookUp(QStringLiteral("SELECT Contacto_ID FROM tbProcessos WHERE Processo_ID = ") + QString::number(P),
               QStringLiteral("Contacto_ID"));
    if (C == 0) {
        startFailed("Contacto_ID");
        return false;
    }
    B = lookUp(QStringLiteral("SELECT Base_ID FROM tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases WHERE counter <> 0"),
               QStringLiteral("Base_ID"));
    if (B == 0) {
        startFailed("Base_ID");
        return false;
    }
    Q = lookUp(
        QStringLiteral("SELECT Preco_ID FROM tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos WHERE counter <> 0"),
        QStringLiteral("Preco_ID"));
    if (Q == 0) {
        startFailed("Preco_ID");
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
