// OLE on the host's threads: an effect made on a worker thread and destroyed on the user-interface
// thread leaves that thread's OLE as the host set it up.
#include <gtest/gtest.h>

#include <ole2.h>

#include <memory>
#include <thread>

#include "host/hosted_effect.h"
#include "tests/conformance/support.h"

namespace editortest {
namespace {

// Whether this thread is still a single-threaded apartment: asking for the multithreaded one is refused.
bool stillSingleThreaded() {
    const HRESULT asked = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(asked)) {
        CoUninitialize();
    }
    return asked == RPC_E_CHANGED_MODE;
}

TEST(EditorOle, AnEffectMadeOnAWorkerAndDestroyedHereLeavesThisThreadsOleAlone) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    std::string error;
    auto library = PluginLibrary::open(ZELMOR_EDITOR_PLUGIN, error);
    ASSERT_TRUE(library) << error;
    std::unique_ptr<HostedEffect> effect;
    std::thread scanner([&] { effect = HostedEffect::create(*library, error); });
    scanner.join();
    ASSERT_TRUE(effect) << error;
    // The editor opens on this thread, where the frame's drag and drop has OLE.
    HWND parent = conformance::openHostWindow(40, 30, 460, 680);
    EXPECT_EQ(effect->dispatch(effEditOpen, 0, 0, parent), 1);
    conformance::pumpMessages();
    effect->dispatch(effEditIdle);
    effect->dispatch(effEditClose);
    effect.reset();
    conformance::closeHostWindow();
    EXPECT_TRUE(stillSingleThreaded()) << "the effect uninitialised OLE on a thread it did not initialise";
    OleUninitialize();
}

}  // namespace
}  // namespace editortest
