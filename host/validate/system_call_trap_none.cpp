// System calls cannot be counted here (Windows, or a sanitizer's run-time making calls of its own).
#include "host/validate/system_call_trap.h"

namespace validate {

bool trapSystemCalls(TrappedCalls*, bool) {
    return false;
}

bool countInCopy(const std::function<void(TrappedCalls&)>&, TrappedCalls&, std::string& reason) {
    reason = "system calls not counted on this platform";
    return false;
}

}  // namespace validate
