// The editor's desktop on Linux: a connection of the plug-in's own to the X server, whose events are
// read and whose drawing is shown from the host's effEditIdle, on the thread that opened the editor.
#include <atomic>
#include <thread>

#include "editor/aeff_editor.h"
#include "platform/present/desktop.h"
#include "plugin/editor_desktop.h"

namespace editor_desktop {
namespace {

// The thread inside an idle, if any. (Not thread-local storage: a library's dynamic thread-local
// blocks are what LeakSanitizer's thread scan trips over.) The subset serves one thread at a time, so
// another thread's idle meanwhile is skipped as well.
std::atomic<std::thread::id> idlingThread{};

struct Idling {
    Idling() {
        std::thread::id none{};
        entered = idlingThread.compare_exchange_strong(none, std::this_thread::get_id());
    }
    ~Idling() {
        if (entered) {
            idlingThread.store(std::thread::id{});
        }
    }
    Idling(const Idling&) = delete;
    Idling& operator=(const Idling&) = delete;
    bool entered = false;
};

}  // namespace

bool open(AEffEditor& editor, void* hostWindow) {
    if (!platform::desktop::connect(hostWindow)) {
        return false;
    }
    if (editor.open(hostWindow)) {
        return true;
    }
    platform::desktop::withdraw();
    return false;
}

void idle(AEffEditor& editor) {
    const Idling running;
    if (!running.entered) {
        return;
    }
    platform::desktop::dispatchEvents();
    editor.idle();
    platform::desktop::show();
}

}  // namespace editor_desktop
