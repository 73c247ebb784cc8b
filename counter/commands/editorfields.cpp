#include "counter/commands/editorfields.h"

#include "scramble/modencriptserial.h"
#include "session/modcode.h"

namespace counter {

void signOn(external::Component& component)
{
    QString name = session::modCode::UserName;
    QString password = scramble::modEncriptSerial::EncriptSerial(session::modCode::UserPassword);
    component.SignOn(name, password);
}

} // namespace counter
