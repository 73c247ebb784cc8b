#pragma once

#include "core/com/comref_win.h"
#include "external/recordeditors.h"

#include <windows.h>

namespace external::com {

// The counter window as the office's components see their owner: an automation object with the window's two
// public methods, SetTrayIcon(Image_Index, strMsg) and RemoteKey(ID, Flag), found by name in any letter case, their
// arguments by value or by reference. One object per owner, kept while a component holds it; once the owner is
// gone its calls do nothing. An error the owner raises reaches the component as an automation exception.
core::com::ComRef<IDispatch> ownerDispatch(EditorOwner* owner);

} // namespace external::com
