// The audio callback calls nothing outside the plug-in DLL on Windows: no allocation, lock, wait,
// log or system call, which all go through the DLL's import table. Plain memory and string
// functions of the C library are allowed.
#include "host/import_tripwires_windows.h"
#include "tests/audio_thread_scenario.h"

using namespace testhost;

namespace {

HMODULE pluginModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(plugin().entry()), &module);
    return module;
}

const std::vector<std::string> kPureFunctions = {"memcpy", "memmove", "memset", "memcmp",
                                                 "memchr", "strlen",  "strcmp", "strncmp"};

}  // namespace

TEST(AudioThread, CallsNoImportedFunction) {
    HMODULE module = pluginModule();
    ASSERT_NE(module, nullptr);
    AudioThreadScenario scenario;
    ImportTripwires tripwires(module);
    ASSERT_GT(tripwires.size(), 0u);

    // The tripwires see the plug-in's own calls: making an effect allocates through the C library.
    auto extra = makeEffect();
    EXPECT_GT(tripwires.calls("malloc"), 0u);
    extra.reset();

    tripwires.reset();
    scenario.processAll();
    std::vector<std::string> called = tripwires.calledExcept(kPureFunctions);
    EXPECT_TRUE(called.empty()) << "the callback called: " << ::testing::PrintToString(called);
}
