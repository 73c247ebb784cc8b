#pragma once

#include "core/messagebox.h"

#include <QList>

namespace testsupport {

// Installs itself as the message-box presenter for its lifetime. Answers come from a script
// (setNextAnswers); once it runs out, OK boxes answer Ok and questions answer No.
class ScriptedMessageBoxes
{
public:
    ScriptedMessageBoxes()
    {
        core::setMessageBoxPresenter([this](const core::Message& message) {
            m_shown.append(message);
            if (!m_answers.isEmpty()) {
                return m_answers.takeFirst();
            }
            return message.buttons == core::Buttons::Ok ? core::Answer::Ok : core::Answer::No;
        });
    }
    ~ScriptedMessageBoxes() { core::setMessageBoxPresenter({}); }

    void setNextAnswers(const QList<core::Answer>& answers) { m_answers = answers; }
    const QList<core::Message>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }

private:
    QList<core::Answer> m_answers;
    QList<core::Message> m_shown;
};

} // namespace testsupport
