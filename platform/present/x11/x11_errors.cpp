// The process-wide X error handler while connections of ours exist: ours counted, others passed on;
// and this library kept loaded while its handler may still be called.
#include "platform/present/x11/x11_errors.h"

#include <dlfcn.h>

#include <array>
#include <atomic>
#include <mutex>

namespace platform::x11 {
namespace {

struct Slot {
    std::atomic<Display*> display{nullptr};
    std::atomic<int> errors{0};
};

// Fixed, so that the handler (called on whichever thread's connection failed) needs no lock.
constexpr std::size_t kMostConnections = 64;
std::array<Slot, kMostConnections> slots;

std::mutex installation;
int adopted = 0;
bool installed = false;
bool keptLoaded = false;
std::atomic<XErrorHandler> previous{nullptr};

Slot* slotOf(Display* display) {
    for (Slot& slot : slots)
        if (slot.display.load() == display)
            return &slot;
    return nullptr;
}

int onError(Display* display, XErrorEvent* error) {
    if (Slot* slot = slotOf(display)) {
        slot->errors.fetch_add(1);
        return 0;
    }
    const XErrorHandler before = previous.load();
    return before != nullptr ? before(display, error) : 0;
}

// Someone installed a handler after ours and keeps ours as the one it passes errors on to, for as long
// as the process lives. Were this library unloaded, that call would land in unmapped memory: this
// copy (found by its own file, so each of several copies keeps itself) stays loaded instead.
void keepThisLibraryLoaded() {
    if (keptLoaded)
        return;
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&onError), &info) == 0 || info.dli_fname == nullptr)
        return;
    // No load: only the copy already mapped is wanted, never a fresh one of whatever file is there now.
    keptLoaded = dlopen(info.dli_fname, RTLD_NOW | RTLD_NODELETE | RTLD_NOLOAD) != nullptr;
}

}  // namespace

void adoptConnection(const Library& x, Display* display) {
    const std::lock_guard<std::mutex> lock(installation);
    for (Slot& slot : slots) {
        Display* empty = nullptr;
        if (slot.display.compare_exchange_strong(empty, display)) {
            slot.errors.store(0);
            break;
        }
    }
    if (adopted++ > 0)
        return;
    // Still there from an earlier time when it could not be taken out: it passes everything on.
    if (!installed) {
        previous.store(x.setErrorHandler(onError));
        installed = true;
    }
}

void forgetConnection(const Library& x, Display* display) {
    const std::lock_guard<std::mutex> lock(installation);
    if (Slot* slot = slotOf(display))
        slot->display.store(nullptr);
    if (--adopted > 0)
        return;
    // Put back what was there, unless someone installed a handler after ours (which then calls ours
    // as its previous one, and must keep doing so: ours then stays, passing everything on).
    bool stillCalled = false;
    if (installed) {
        const XErrorHandler current = x.setErrorHandler(previous.load());
        if (current == onError) {
            installed = false;
            previous.store(nullptr);
        } else {
            x.setErrorHandler(current);
            stillCalled = true;
        }
    }
    if (stillCalled)
        keepThisLibraryLoaded();
}

int takeErrors(Display* display) {
    Slot* slot = slotOf(display);
    return slot != nullptr ? slot->errors.exchange(0) : 0;
}

}  // namespace platform::x11
