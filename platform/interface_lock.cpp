// The editor side's process-wide lock: a mutex with its owner and depth, so that it can recurse and be
// let go of entirely around host callbacks.
#include "platform/interface_lock.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace platform {
namespace {

std::mutex& mutex() {
    static std::mutex lock;
    return lock;
}

std::atomic<std::thread::id> owner{};
int depth = 0;  // the owner's only

bool ownedHere() {
    return owner.load() == std::this_thread::get_id();
}

void own(int levels) {
    owner.store(std::this_thread::get_id());
    depth = levels;
}

}  // namespace

void lockInterface() {
    if (ownedHere()) {
        ++depth;
        return;
    }
    mutex().lock();
    own(1);
}

bool tryLockInterface() {
    if (ownedHere()) {
        ++depth;
        return true;
    }
    if (!mutex().try_lock()) {
        return false;
    }
    own(1);
    return true;
}

void unlockInterface() {
    if (!ownedHere()) {
        return;
    }
    if (--depth > 0) {
        return;
    }
    owner.store(std::thread::id());
    mutex().unlock();
}

InterfaceUnlocked::InterfaceUnlocked() : depth(0) {
    if (!ownedHere()) {
        return;
    }
    depth = platform::depth;
    platform::depth = 0;
    owner.store(std::thread::id());
    mutex().unlock();
}

InterfaceUnlocked::~InterfaceUnlocked() {
    if (depth == 0) {
        return;
    }
    mutex().lock();
    own(depth);
}

}  // namespace platform
