#pragma once

#include "editors/entries/newentrydialog.h"

namespace external {
class EditorOwner;
}

namespace editors {

// Runs the new-entry dialog for target; once an entry was saved, asks owner (when there is one) to show
// it (RemoteKey with the entry and 4004). True when an entry was saved. Throws core::Error.
bool registerEntry(const NewEntryDialog::Target& target, external::EditorOwner* owner);

} // namespace editors
