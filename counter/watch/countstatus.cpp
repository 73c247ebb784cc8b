#include "counter/watch/countstatus.h"

#include "counter/livecounter.h"

namespace counter::countStatus {

Tray tray(const QList<RunningTask>& running, const QDateTime& now)
{
    if (running.isEmpty()) {
        return {1, QStringLiteral("Orvel")};
    }
    qint64 longest = 0;
    for (const RunningTask& task : running) {
        if (task.start.isValid()) {
            longest = std::max(longest, task.start.msecsTo(now));
        }
    }
    const QString time = LiveCounter::elapsedText(longest);
    if (running.size() == 1) {
        return {2, QStringLiteral("A contar: %1 (%2)").arg(running.first().task, time)};
    }
    return {2, QStringLiteral("A contar %1 tarefas (%2)").arg(running.size()).arg(time)};
}

bool isLong(const RunningTask& task, const QDateTime& now, const Preferences& preferences)
{
    if (!task.start.isValid()) {
        return false;
    }
    constexpr qint64 Hour = 3600;
    return task.start.date() < now.date() ||
           (preferences.longCountHours > 0 && task.start.secsTo(now) >= preferences.longCountHours * Hour);
}

QString longText(const RunningTask& task, const QDateTime& now)
{
    const QString since = task.start.date() < now.date() ? task.start.toString(QStringLiteral("dd-MM-yyyy HH:mm"))
                                                         : task.start.toString(QStringLiteral("HH:mm"));
    return QStringLiteral("\"%1\" está a contar desde %2. Esqueceu-se de parar?").arg(task.task, since);
}

QDateTime forgottenEnd(const QDateTime& start, const Preferences& preferences)
{
    if (start.time() < preferences.dayEnd) {
        return {start.date(), preferences.dayEnd};
    }
    return {start.date().addDays(1), QTime(0, 0)};
}

bool silentTooLong(const QDateTime& quietSince, const QDateTime& now, const Preferences& preferences)
{
    constexpr int Friday = 5;
    if (preferences.silentMinutes <= 0 || now.date().dayOfWeek() > Friday || now.time() < preferences.dayStart ||
        now.time() >= preferences.dayEnd) {
        return false;
    }
    // Only the quiet time within today's working hours counts.
    const QDateTime dayStart(now.date(), preferences.dayStart);
    const QDateTime from = std::max(quietSince, dayStart);
    return from.secsTo(now) >= qint64(preferences.silentMinutes) * 60;
}

QString silentText(const Preferences& preferences)
{
    return QStringLiteral("Nada está a ser contado há %1 minutos. (Para não voltar a lembrar: \"Lembrar quando nada "
                          "conta\" no menu do ícone.)")
        .arg(preferences.silentMinutes);
}

} // namespace counter::countStatus
