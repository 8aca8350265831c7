// The lock-free triple buffer between filter redesign and audio processing.
#include "effect/setup_exchange.h"

SetupExchange::SetupExchange() = default;

void SetupExchange::publish() {
    std::uint8_t previous = middle.exchange(static_cast<std::uint8_t>(back | kFresh), std::memory_order_acq_rel);
    back = static_cast<std::uint8_t>(previous & kIndexMask);
}

const FilterSetup& SetupExchange::acquire() {
    if ((middle.load(std::memory_order_relaxed) & kFresh) != 0) {
        std::uint8_t previous = middle.exchange(front, std::memory_order_acq_rel);
        front = static_cast<std::uint8_t>(previous & kIndexMask);
    }
    return slots[front];
}
