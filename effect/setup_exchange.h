// Hands complete filter setups from the redesigning thread to the audio thread without locks.
#pragma once

#include <atomic>
#include <cstdint>

#include "effect/filter_setup.h"

// A triple buffer: the writer fills its back slot and swaps it with the middle one; the reader swaps
// the middle slot into its front slot when a fresh one is waiting. Neither side ever waits for the
// other, and the reader always sees a whole setup written by one publish.
//
// Threads: publish() has one writer at a time (callers serialise it); acquire() is for the audio
// thread only and never blocks, allocates or makes a system call.
class SetupExchange {
public:
    SetupExchange();

    // The writer's slot, to fill before publish(); the reader never sees it until then.
    FilterSetup& prepare() { return slots[back]; }

    // Makes the prepared slot the latest setup.
    void publish();

    // The latest published setup; stays valid and unchanged until the next acquire().
    const FilterSetup& acquire();

    // True when a setup has been published since the last acquire() (reader only).
    bool hasFresh() const { return (middle.load(std::memory_order_relaxed) & kFresh) != 0; }

private:
    static constexpr std::uint8_t kIndexMask = 0x3;
    static constexpr std::uint8_t kFresh = 0x4;

    FilterSetup slots[3];
    std::atomic<std::uint8_t> middle{1};  // index of the middle slot, and kFresh when unread
    std::uint8_t back = 2;                // writer's slot
    std::uint8_t front = 0;               // reader's slot
};
