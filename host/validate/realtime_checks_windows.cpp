// Calls out of the plug-in DLL inside processReplacing on Windows: allocations, locks, waits and system
// calls all go through its import table, where tripwires count them. Plain memory functions are allowed.
#include <windows.h>

#include "host/import_tripwires_windows.h"
#include "host/validate/realtime_scenario.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

const std::vector<std::string> kPureFunctions = {"memcpy", "memmove", "memset", "memcmp",
                                                 "memchr", "strlen",  "strcmp", "strncmp"};

Outcome realtime(Context& context) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(context.library->entry()), &module);
    if (module == nullptr) {
        return failed("the plug-in's module could not be found");
    }
    QuietEffect quiet(*context.library, context.seed);
    if (quiet.record() == nullptr) {
        return failed("the plug-in yielded no effect");
    }
    std::vector<std::string> called;
    std::size_t imports = 0;
    {
        ImportTripwires tripwires(module);
        imports = tripwires.size();
        // Parameter changes between blocks may call out; only the blocks themselves are counted.
        std::vector<std::string> seen;
        quiet.processAll([&](bool on) {
            if (on) {
                tripwires.reset();
            } else {
                for (const std::string& call : tripwires.calledExcept(kPureFunctions)) {
                    seen.push_back(call);
                }
            }
        });
        called = seen;
    }
    std::string figures = "in " + std::to_string(quiet.blocksPerRun()) + " processReplacing calls, " +
                          std::to_string(imports) + " imports watched: " + std::to_string(called.size()) +
                          " calls out of the DLL (allocation, lock, wait or system call)";
    if (!called.empty()) {
        return failed(figures + ", first " + called.front());
    }
    return passed(figures);
}

}  // namespace

std::vector<Check> realtimeChecks() {
    return {{"realtime", realtime}};
}

}  // namespace validate
