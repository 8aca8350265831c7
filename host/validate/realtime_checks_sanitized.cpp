// Under a sanitizer the C library's allocator is the sanitizer's own: the counting check cannot run.
#include "host/validate/validation.h"

namespace validate {
namespace {

Outcome realtime(Context&) {
    return skipped("allocations cannot be counted in a build whose sanitizer replaces the allocator");
}

}  // namespace

std::vector<Check> realtimeChecks() {
    return {{"realtime", realtime}};
}

}  // namespace validate
