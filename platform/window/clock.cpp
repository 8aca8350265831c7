// The system clock (monotonic milliseconds, a real sleep) and the switch to another clock.
#include "platform/window/clock.h"

#include <chrono>
#include <thread>

#include "platform/subset/win32_user.h"

namespace platform {
namespace {

class SystemClock final : public Clock {
public:
    DWORD ticks() override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    void sleep(DWORD milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
};

SystemClock systemClock;
Clock* current = &systemClock;

}  // namespace

void setClock(Clock* clock) {
    current = clock != nullptr ? clock : &systemClock;
}

}  // namespace platform

extern "C" {

DWORD GetTickCount() {
    return platform::current->ticks();
}

void Sleep(DWORD milliseconds) {
    platform::current->sleep(milliseconds);
}

}  // extern "C"
