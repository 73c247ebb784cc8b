#pragma once

// What an editor asks its owner to show after a save (EditorOwner::RemoteKey's flag).
namespace editors::ownerFlag {
// The task list refilled, with the task selected.
constexpr int TaskSaved = 4003;
// The time entries refilled, with the entry selected.
constexpr int EntrySaved = 4004;
// The task list refilled.
constexpr int ListChanged = 0;
} // namespace editors::ownerFlag
