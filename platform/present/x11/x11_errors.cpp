// The process-wide X error handlers while connections of ours exist: ours counted or marked lost,
// others passed on; and this library kept loaded while a handler of it may still be called.
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
    std::atomic<bool> lost{false};
};

// Fixed, so that the handlers (called on whichever thread's connection failed) need no lock.
constexpr std::size_t kMostConnections = 64;
std::array<Slot, kMostConnections> slots;

std::mutex installation;
int adopted = 0;
bool installed = false;
bool installedForLoss = false;
bool keptLoaded = false;
std::atomic<XErrorHandler> previous{nullptr};
std::atomic<XIOErrorHandler> previousForLoss{nullptr};

Slot* slotOf(Display* display) {
    for (Slot& slot : slots) {
        if (slot.display.load() == display) {
            return &slot;
        }
    }
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

// A lost connection makes Xlib call the process-wide handler, then the connection's exit handler. Its
// default handler (still in libX11 1.8) prints a message and exits by itself, so for our connections
// this one answers instead and returns; Xlib then calls our exit handler, which returns too.
int onLoss(Display* display) {
    if (Slot* slot = slotOf(display)) {
        slot->lost.store(true);
        return 0;
    }
    const XIOErrorHandler before = previousForLoss.load();
    return before != nullptr ? before(display) : 0;
}

// Set on each connection of ours only: returning is what keeps the process alive.
void onLossOfOurs(Display* display, void*) {
    if (Slot* slot = slotOf(display)) {
        slot->lost.store(true);
    }
}

// Someone installed a handler after ours and keeps ours as the one it passes errors on to, for as long
// as the process lives. Were this library unloaded, that call would land in unmapped memory: this
// copy (found by its own file, so each of several copies keeps itself) stays loaded instead.
void keepThisLibraryLoaded() {
    if (keptLoaded) {
        return;
    }
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&onError), &info) == 0 || info.dli_fname == nullptr) {
        return;
    }
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
            slot.lost.store(false);
            break;
        }
    }
    // Without the exit handler (libX11 before 1.7) a lost connection ends the process whatever the
    // process-wide handler does, so that one is left alone too.
    if (x.setIOErrorExitHandler != nullptr) {
        x.setIOErrorExitHandler(display, onLossOfOurs, nullptr);
    }
    if (adopted++ > 0) {
        return;
    }
    // Still there from an earlier time when they could not be taken out: they pass everything on.
    if (!installed) {
        previous.store(x.setErrorHandler(onError));
        installed = true;
    }
    if (!installedForLoss && x.setIOErrorExitHandler != nullptr) {
        previousForLoss.store(x.setIOErrorHandler(onLoss));
        installedForLoss = true;
    }
}

namespace {

// Puts back the handler ours replaced; false when ours must stay, because another handler installed
// after it still calls it.
template <typename Handler, typename Setter>
bool putBack(Setter set, bool& isInstalled, std::atomic<Handler>& before, Handler ours) {
    if (!isInstalled) {
        return true;
    }
    const Handler current = set(before.load());
    if (current != ours) {
        set(current);
        return false;
    }
    isInstalled = false;
    before.store(nullptr);
    return true;
}

}  // namespace

void forgetConnection(const Library& x, Display* display) {
    const std::lock_guard<std::mutex> lock(installation);
    if (Slot* slot = slotOf(display)) {
        slot->display.store(nullptr);
        slot->lost.store(false);
    }
    if (--adopted > 0) {
        return;
    }
    // Put back what was there, unless someone installed a handler after ours (which then calls ours
    // as its previous one, and must keep doing so: ours then stays, passing everything on).
    const bool errorsPutBack =
        putBack([&](XErrorHandler handler) { return x.setErrorHandler(handler); }, installed, previous, onError);
    const bool lossPutBack = putBack([&](XIOErrorHandler handler) { return x.setIOErrorHandler(handler); },
                                     installedForLoss, previousForLoss, onLoss);
    if (!errorsPutBack || !lossPutBack) {
        keepThisLibraryLoaded();
    }
}

int takeErrors(Display* display) {
    Slot* slot = slotOf(display);
    return slot != nullptr ? slot->errors.exchange(0) : 0;
}

bool lost(Display* display) {
    Slot* slot = slotOf(display);
    return slot != nullptr && slot->lost.load();
}

}  // namespace platform::x11
