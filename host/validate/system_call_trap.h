// Counting the system calls one thread makes, one implementation per platform (and none where a
// sanitizer's run-time makes calls of its own).
#pragma once

#include <atomic>
#include <functional>
#include <string>

namespace validate {

// May live in memory shared with a forked child, which can tell its parent nothing else.
struct TrappedCalls {
    std::atomic<long> calls{0};
    std::atomic<long> firstNumber{-1};
    std::atomic<bool> counting{false};
};

// From now on every system call the calling thread (and any thread it starts) makes fails at once,
// as an unknown one would, and is counted in counts while counts->counting is on; exits and signal
// returns pass, and with allowClock so do the clock reads (which the C library may make as calls).
// Irreversible for the thread. False when this platform or build cannot count.
bool trapSystemCalls(TrappedCalls* counts, bool allowClock);

// Runs work in a forked copy of this process, with counts in memory shared with it: calls that fail
// as unknown may end a copy, never the caller. Answers the counts; false with a reason when the copy
// could not run or did not end normally (the counts then hold what it had counted).
bool countInCopy(const std::function<void(TrappedCalls& counts)>& work, TrappedCalls& result, std::string& reason);

}  // namespace validate
