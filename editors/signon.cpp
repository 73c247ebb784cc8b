#include "editors/signon.h"

#include "core/messagebox.h"
#include "scramble/modencriptserial.h"
#include "session/modcode.h"

namespace editors {

bool SignOnCheck::signOn(const QString& name, const QString& scrambledPassword)
{
    namespace login = session::modCode;
    m_signedOn = login::Connected && !login::UserName.isEmpty() && name == login::UserName &&
                 scramble::modEncriptSerial::DencriptSerial(scrambledPassword) == login::UserPassword;
    return m_signedOn;
}

bool SignOnCheck::admitted(const QString& title) const
{
    if (!m_signedOn) {
        core::msgBox(QStringLiteral("O editor não reconheceu o utilizador da sessão e não abre registos.") +
                         core::messageBreak() +
                         QStringLiteral("Termine a sessão do contador, inicie-a de novo e repita o pedido."),
                     core::Buttons::Ok, core::Icon::Critical, title);
    }
    return m_signedOn;
}

} // namespace editors
