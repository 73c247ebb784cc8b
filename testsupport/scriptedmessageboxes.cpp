#include "testsupport/scriptedmessageboxes.h"

namespace testsupport {

ScriptedMessageBoxes::ScriptedMessageBoxes()
{
    core::setMessageBoxPresenter([this](const core::Message& message) {
        m_shown.append(message);
        if (!m_answers.isEmpty()) {
            return m_answers.takeFirst();
        }
        return message.buttons == core::Buttons::Ok ? core::Answer::Ok : core::Answer::No;
    });
}

ScriptedMessageBoxes::~ScriptedMessageBoxes()
{
    core::setMessageBoxPresenter({});
}

} // namespace testsupport
