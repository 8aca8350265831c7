// The editor's desktop on Windows: the host's message loop delivers the window's messages.
#include "editor/aeff_editor.h"
#include "plugin/editor_desktop.h"

namespace editor_desktop {

bool open(AEffEditor& editor, void* hostWindow) {
    return editor.open(hostWindow);
}

void idle(AEffEditor& editor) {
    editor.idle();
}

}  // namespace editor_desktop
