// The editor's desktop on Linux: a connection of the plug-in's own to the X server, whose events are
// read and whose drawing is shown from the host's effEditIdle, on the thread that opened the editor.
#include "editor/aeff_editor.h"
#include "platform/present/desktop.h"
#include "plugin/editor_desktop.h"

namespace editor_desktop {
namespace {

thread_local int idling = 0;

struct Idling {
    Idling() { ++idling; }
    ~Idling() { --idling; }
    Idling(const Idling&) = delete;
    Idling& operator=(const Idling&) = delete;
};

}  // namespace

bool open(AEffEditor& editor, void* hostWindow) {
    if (!platform::desktop::connect(hostWindow))
        return false;
    if (editor.open(hostWindow))
        return true;
    platform::desktop::withdraw();
    return false;
}

void idle(AEffEditor& editor) {
    if (idling > 0)
        return;
    const Idling running;
    platform::desktop::dispatchEvents();
    editor.idle();
    platform::desktop::show();
}

}  // namespace editor_desktop
