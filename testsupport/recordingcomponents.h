#pragma once

#include "core/errorvalue.h"
#include "external/recordeditors.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>
#include <memory>

namespace testsupport {

// Installs, for its lifetime, a component factory whose objects record what they are asked.
// Every object is named by its kind and a number counting from 1 per kind ("CaseEditor#2"); the log
// holds, in order, "new CaseEditor#2", each call as "CaseEditor#2.OpenRecord(<record>, 15, \"\", \"\",
// frmCounter, 0, 0, 0)" and "delete CaseEditor#2". A record is shown as "<first field>=<its value>",
// or "no record" when none is current; an owner by its object name, "null" for none; texts quoted.
// SelectWork answers from a script (0 once it runs out), EditDeadlines likewise (false), SignOn true.
class RecordingComponents
{
public:
    RecordingComponents();
    ~RecordingComponents();
    RecordingComponents(const RecordingComponents&) = delete;
    RecordingComponents& operator=(const RecordingComponents&) = delete;

    const QStringList& log() const { return m_state->log; }
    // The log's entries that mention method ("SignOn", "new", "delete", ...).
    QStringList calls(const QString& method) const;

    void setSelectWork(const QList<int>& answers) { m_state->selectWork = answers; }
    void setEditDeadlines(const QList<bool>& answers) { m_state->editDeadlines = answers; }
    // The factory makes no object of kind ("TaskEditor", ...).
    void setMissing(const QString& kind) { m_state->missing << kind; }
    // The next call of method, on any object, throws error once it is logged and its action has run.
    void failNext(const QString& method, const core::ErrorValue& error) { m_state->failures.append({method, error}); }
    // Every call of method runs action once it is logged: what a component does (saves, calls its owner).
    void onCall(const QString& method, const std::function<void(external::EditorOwner* owner)>& action)
    {
        m_state->actions.insert(method, action);
    }

    // What the set and its objects share; the objects keep it, so one may outlive the set.
    struct State {
        QStringList log;
        QList<int> selectWork;
        QList<bool> editDeadlines;
        QStringList missing;
        QHash<QString, int> made;
        QList<std::pair<QString, core::ErrorValue>> failures;
        QHash<QString, std::function<void(external::EditorOwner*)>> actions;
    };

private:
    std::shared_ptr<State> m_state;
    std::shared_ptr<external::ComponentFactory> m_previous;
};

} // namespace testsupport
