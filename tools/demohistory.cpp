#include "tools/demohistory.h"

#include "core/clock.h"
#include "data/engines/embedded.h"
#include "data/office/schema.h"
#include "tools/demowriter.h"

#include <algorithm>
#include <vector>

namespace tools {

namespace sc = data::schema;

DemoHistory::DemoHistory(const QDate& day, int size, DemoRandom& random)
    : m_day(day)
    , m_size(size)
    , m_random(random)
{}

int DemoHistory::entryCount(int size)
{
    return int(qint64(size) * size / 100);
}

int DemoHistory::historyDays(int size)
{
    constexpr int DefaultSize = 250;
    return std::max(21, size * 21 / DefaultSize);
}

void DemoHistory::write(DemoWriter& writer, const QList<DemoPerson>& lawyers,
                        const QList<QList<DemoTask>>& tasksByLawyer)
{
    struct Entry {
        int daysBefore;
        int startMinute; // of the day
        int lawyer;
        int task;
        int minutes;
        int base;
    };
    const int lawyerCount = int(lawyers.size());
    const int total = entryCount(m_size);
    const int days = historyDays(m_size);
    std::vector<Entry> entries;
    entries.reserve(std::size_t(total));
    for (int i = 0; i < total; ++i) {
        const int lawyer = i % lawyerCount;
        if (tasksByLawyer.at(lawyer).isEmpty()) {
            continue;
        }
        int daysBefore = m_random.between(1, days);
        const int weekday = m_day.addDays(-daysBefore).dayOfWeek();
        if (weekday > 5) {
            daysBefore += weekday - 5; // back to the Friday
        }
        const int draw = m_random.below(100);
        const int minutes = draw < 60   ? m_random.between(5, 45)
                            : draw < 90 ? m_random.between(46, 120)
                                        : m_random.between(121, 240);
        const int startMinute = 8 * 60 + 30 + m_random.below(600);
        entries.push_back({daysBefore, startMinute, lawyer, m_random.below(int(tasksByLawyer.at(lawyer).size())),
                           minutes, m_random.chance(3) ? DemoStaff::FormerBaseId : DemoStaff::CounterBaseId});
    }
    // Entry numbers grow with time, as they do when entries are made one by one.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.daysBefore != b.daysBefore ? a.daysBefore > b.daysBefore : a.startMinute < b.startMinute;
    });

    const int statement =
        writer.prepare(sc::tbProcessos_Trabalhos_Tarefas_Lancamentos,
                       {QStringLiteral("tarefa_id"), QStringLiteral("trabalho_id"), QStringLiteral("processo_id"),
                        QStringLiteral("contacto_id"), QStringLiteral("data"), QStringLiteral("data_fim"),
                        QStringLiteral("advogado_id"), QStringLiteral("base_id"), QStringLiteral("unidades"),
                        QStringLiteral("preco_id"), QStringLiteral("preco"), QStringLiteral("inprogress"),
                        QStringLiteral("closed"), QStringLiteral("inprogress_time")});
    for (const Entry& entry : entries) {
        const DemoTask& task = tasksByLawyer.at(entry.lawyer).at(entry.task);
        const DemoPerson& person = lawyers.at(entry.lawyer);
        const QVariant start = stamp(entry.daysBefore, entry.startMinute);
        writer.insert(statement,
                      {task.tarefaId, task.trabalhoId, task.processoId, task.contactoId, start,
                       stamp(entry.daysBefore, entry.startMinute + entry.minutes), person.contactoId, entry.base,
                       double(entry.minutes),
                       entry.daysBefore > 180 ? DemoStaff::FormerPrecoId : DemoStaff::CurrentPrecoId,
                       person.preco.isNull() ? 0.0 : person.preco.toDouble(), 0, entry.daysBefore > 14 ? 1 : 0, start});
        ++m_entries;
    }
    writeRunning(writer, statement, lawyers, tasksByLawyer);
}

// The stored text of a time on a day before the day: data::embedded::toStorage of the same local
// time, built from texts made once per day and per minute (a million entries share them).
QString DemoHistory::stamp(int daysBefore, int minuteOfDay)
{
    if (daysBefore >= int(m_dayTexts.size())) {
        m_dayTexts.resize(std::size_t(daysBefore) + 1);
    }
    QString& day = m_dayTexts[std::size_t(daysBefore)];
    if (day.isEmpty()) {
        day = m_day.addDays(-daysBefore).toString(Qt::ISODate) + QLatin1Char(' ');
    }
    if (m_minuteTexts.empty()) {
        for (int minute = 0; minute < 24 * 60; ++minute) {
            m_minuteTexts.push_back(QTime(minute / 60, minute % 60).toString(QStringLiteral("HH:mm:ss")));
        }
    }
    return day + m_minuteTexts.at(std::size_t(minuteOfDay));
}

// The first three lawyers are counting a visible open task, started 25, 40 and 55 minutes before the moment
// the demo is made (for a demo of another day, before noon of that day), so that no entry starts in the future
// whatever the hour.
void DemoHistory::writeRunning(DemoWriter& writer, int statement, const QList<DemoPerson>& lawyers,
                               const QList<QList<DemoTask>>& tasksByLawyer)
{
    for (int lawyer = 0; lawyer < std::min(3, int(lawyers.size())); ++lawyer) {
        QList<DemoTask> candidates;
        for (const DemoTask& task : tasksByLawyer.at(lawyer)) {
            if (task.open && task.visible) {
                candidates.append(task);
            }
        }
        if (candidates.isEmpty()) {
            continue;
        }
        const DemoTask& task = m_random.pick(candidates);
        const DemoPerson& person = lawyers.at(lawyer);
        const QDateTime now = core::Clock::now();
        const QDateTime moment = now.date() == m_day ? now : QDateTime(m_day, QTime(12, 0));
        const QVariant start = data::embedded::toStorage(moment.addSecs(qint64(-60) * (25 + 15 * lawyer)));
        writer.insert(statement, {task.tarefaId, task.trabalhoId, task.processoId, task.contactoId, start, QVariant(),
                                  person.contactoId, DemoStaff::CounterBaseId, 0.0, DemoStaff::CurrentPrecoId,
                                  person.preco.isNull() ? 0.0 : person.preco.toDouble(), 1, 0, start});
        ++m_running;
    }
}

} // namespace tools
