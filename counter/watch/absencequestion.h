#pragma once

#include <QDateTime>
#include <QStringList>

#include <functional>

namespace counter {

// The question put to the lawyer who comes back after an absence while tasks were counted.
struct AbsenceQuestion {
    QStringList tasks;
    QDateTime began;
    qint64 minutes = 0;
    bool slept = false;

    QString text() const;
    // The captions of the three answers, in the order of AbsenceAnswer's Keep, Stop and StopAndRestart.
    QStringList answers() const;
};

enum class AbsenceAnswer {
    None,           // closed without an answer: nothing changes
    Keep,           // the absence stays counted
    Stop,           // the counts end at the moment the absence began
    StopAndRestart, // they end then, and the same tasks count again from now
};

using AbsenceAsker = std::function<AbsenceAnswer(const AbsenceQuestion&)>;

// Asks with a dialog of three buttons (Esc or the close box: None), or through the seam.
AbsenceAnswer askAbsence(const AbsenceQuestion& question);

// Seam for tests: who answers; an empty asker restores the dialog.
void setAbsenceAsker(AbsenceAsker asker);

} // namespace counter
