// Windows does not count a thread's involuntary switches: every slow call counts as the plug-in's.
#include "host/validate/thread_switches.h"

namespace validate {

long involuntarySwitches() {
    return 0;
}

long slowCallsTolerated() {
    return 5;
}

bool slowCallsConclusive() {
    return false;
}

}  // namespace validate
