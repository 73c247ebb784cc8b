#include "editors/entries/entryregistration.h"

#include "editors/editorseams.h"
#include "external/recordeditors.h"

namespace editors {

bool registerEntry(const NewEntryDialog::Target& target, external::EditorOwner* owner)
{
    NewEntryDialog dialog(target);
    if (runDialog(dialog) != QDialog::Accepted || dialog.entryId() == 0) {
        return false;
    }
    if (owner != nullptr) {
        owner->RemoteKey(static_cast<int>(dialog.entryId()), external::ownerFlag::EntrySaved);
    }
    return true;
}

} // namespace editors
