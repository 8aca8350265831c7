// What the editor's window needs from the desktop around the host's editor requests: on Windows the
// host runs the message loop and nothing is needed; on Linux the plug-in reads its own X events.
#pragma once

class AEffEditor;

namespace editor_desktop {

// effEditOpen: opens the editor in the host's window, or answers false (and leaves it closed) when
// no desktop can show it.
bool open(AEffEditor& editor, void* hostWindow);
// effEditIdle: the editor's idle with the desktop's events before it and its drawing shown after.
// A host idling from inside the editor's own call to it (audioMasterIdle in a gesture) gets nothing.
void idle(AEffEditor& editor);

}  // namespace editor_desktop
