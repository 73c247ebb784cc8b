#pragma once

#include "core/messagebox.h"

#include <memory>

class QMessageBox;

namespace session {

// Makes core::msgBox show real modal message boxes (QMessageBox). The executable installs it once,
// after the application object exists; until then messages go to stderr.
void installWidgetMessageBoxes();

// The box for a message, not yet shown: its text with the parts' line breaks as blank lines, its title,
// OK or Yes and No, and its icon.
std::unique_ptr<QMessageBox> buildMessageBox(const core::Message& message);

// Shows the box modally and returns the button pressed; closing a question counts as No.
core::Answer showMessageBox(const core::Message& message);

} // namespace session
