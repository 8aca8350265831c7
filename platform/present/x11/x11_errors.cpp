// The process-wide X error handler while connections of ours exist: ours counted, others passed on.
#include "platform/present/x11/x11_errors.h"

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
XErrorHandler previous = nullptr;

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
    return previous != nullptr ? previous(display, error) : 0;
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
    if (adopted++ == 0 && !installed) {
        previous = x.setErrorHandler(onError);
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
    const XErrorHandler current = x.setErrorHandler(previous);
    if (current != onError) {
        x.setErrorHandler(current);
        return;
    }
    installed = false;
    previous = nullptr;
}

int takeErrors(Display* display) {
    Slot* slot = slotOf(display);
    return slot != nullptr ? slot->errors.exchange(0) : 0;
}

}  // namespace platform::x11
