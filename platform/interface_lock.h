// The one lock of everything process-wide behind the editors: taken by every entry of the editor side.
#pragma once

namespace platform {

// What editors share across instances and threads (the window and object tables, the message queue,
// the presenter's connections, the window class and its use count, the font engine's caches, the
// decoded images) is touched only under this lock. It is recursive: a window procedure runs inside
// the host's idle request, and a host may call back into the plug-in from inside a callback.
//
// Threads: any thread but the audio thread; setParameter and getParameter never take it.
void lockInterface();
void unlockInterface();
// Takes the lock only when no other thread holds it; never waits.
bool tryLockInterface();

class InterfaceLock {
public:
    InterfaceLock() { lockInterface(); }
    ~InterfaceLock() { unlockInterface(); }
    InterfaceLock(const InterfaceLock&) = delete;
    InterfaceLock& operator=(const InterfaceLock&) = delete;
};

// Lets go of the lock entirely while the host runs (a callback may wait for a host thread that is
// about to make or idle another editor), and takes it again, as deep as before, afterwards. Does
// nothing on a thread that does not hold it.
class InterfaceUnlocked {
public:
    InterfaceUnlocked();
    ~InterfaceUnlocked();
    InterfaceUnlocked(const InterfaceUnlocked&) = delete;
    InterfaceUnlocked& operator=(const InterfaceUnlocked&) = delete;

private:
    int depth;
};

}  // namespace platform
