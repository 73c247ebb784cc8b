#pragma once

#include <QDateTime>
#include <QStringList>

#include <functional>
#include <optional>

namespace counter {

// The question put to the lawyer who comes back after an absence while tasks were counted, or who starts the
// counter while a count begun on an earlier day still runs.
struct AbsenceQuestion {
    QStringList tasks;
    // When the absence began: the moment "Parar às" ends the counts at.
    QDateTime began;
    qint64 minutes = 0;
    bool slept = false;
    // A count found running at start-up since an earlier day: its start. The lawyer may then also choose the
    // moment it ends, from that start up to now.
    QDateTime countedSince;

    QString text() const;
    // The captions of the answers, in the order of AbsenceAnswer's Keep, Stop, StopAndRestart and, for a count
    // found at start-up, StopAtChosen.
    QStringList answers() const;
    // Whether chosen may end the count: from its start (countedSince) up to now.
    bool acceptable(const QDateTime& chosen) const;
};

enum class AbsenceAnswer {
    None,           // closed without an answer: nothing changes
    Keep,           // the absence stays counted
    Stop,           // the counts end at the moment the absence began
    StopAndRestart, // they end then, and the same tasks count again from now
    StopAtChosen,   // they end at a moment the lawyer chooses
};

// An answer, with the moment chosen for StopAtChosen.
struct AbsenceReply {
    // Implicit: an answer without a moment is a reply.
    AbsenceReply(AbsenceAnswer answer = AbsenceAnswer::None, QDateTime chosen = {})
        : answer(answer)
        , chosen(std::move(chosen))
    {}
    AbsenceAnswer answer;
    QDateTime chosen;
};

using AbsenceAsker = std::function<AbsenceReply(const AbsenceQuestion&)>;

// Asks with a dialog of a button per answer (Esc or the close box: None); "a uma hora à escolha" opens a picker of
// the moment, whose Cancel asks again. Through the seam when one is set.
AbsenceReply askAbsence(const AbsenceQuestion& question);

// Seam for tests: who answers; an empty asker restores the dialog.
void setAbsenceAsker(AbsenceAsker asker);

} // namespace counter
