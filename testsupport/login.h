#pragma once

#include "session/modcode.h"

namespace testsupport {

// The session's globals as a successful login leaves them: the user, the password typed, connected, and the
// lawyer behind the user.
inline void signIn(const QString& user, qint32 lawyer, const QString& password)
{
    session::modCode::UserName = user;
    session::modCode::UserPassword = password;
    session::modCode::Connected = true;
    session::modCode::AdvogadoID = lawyer;
}

// The session's globals as a fresh start has them: nobody logged in, no counter window.
inline void signOut()
{
    session::modCode::UserName.clear();
    session::modCode::UserPassword.clear();
    session::modCode::Connected = false;
    session::modCode::AdvogadoID = 0;
    session::modCode::CounterWindow = nullptr;
}

} // namespace testsupport
