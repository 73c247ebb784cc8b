#pragma once

#include <QString>

namespace editors {

// The sign-on of one editor object. The editors run in the counter's process on its shared connection,
// so they accept only the session's own user: the name as the login state holds it and the password
// scrambled with this workstation's key.
class SignOnCheck
{
public:
    // True when the session is connected and name and the unscrambled password are the session's own.
    bool signOn(const QString& name, const QString& scrambledPassword);

    // True after a successful sign-on; otherwise shows the refusal, titled title, and answers false.
    bool admitted(const QString& title) const;

private:
    bool m_signedOn = false;
};

} // namespace editors
