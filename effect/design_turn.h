// Whose turn it is to store values and redesign: taken by one thread at a time, and never waited for
// by the threads a host may call from its audio thread.
#pragma once

#include <atomic>
#include <thread>

// A writer that cannot wait (setParameter) only tries to take the turn and otherwise leaves its
// write to the holder, which looks for such writes after it has let go. Writers that may wait (program
// changes, chunks, sample rates) spin for it: a turn lasts a few designs, microseconds.
//
// Threads: any. Every operation is sequentially consistent, so that a write left behind and a holder
// letting go always see each other (see Zelmor::finishDesignTurn).
class DesignTurn {
public:
    bool tryTake() { return !taken.exchange(true); }

    void take() {
        while (taken.exchange(true)) {
            std::this_thread::yield();
        }
    }

    void give() { taken.store(false); }

private:
    std::atomic<bool> taken{false};
};
