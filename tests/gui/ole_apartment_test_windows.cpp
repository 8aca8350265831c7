// A host thread that COM already serves as a multithreaded apartment refuses OleInitialize: the editor
// and its frame then work without drag and drop, and leave COM exactly as they found it. Windows only:
// the Linux subset has no COM apartments to refuse anything.
#include <gtest/gtest.h>

#include <thread>

#include "tests/gui/probe_view.h"
#include "tests/gui/toolkit_harness.h"

namespace guitest {
namespace {

struct Outcome {
    HRESULT first = E_FAIL;
    HRESULT again = E_FAIL;
    HRESULT afterwards = E_FAIL;
    bool dropActive = true;
    bool hadWindow = false;
    int draws = 0;
};

TEST(OleApartments, AFrameOnAThreadOfAnotherApartmentWorksWithoutDragAndDrop) {
    Outcome outcome;
    std::thread host([&outcome] {
        outcome.first = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "ZelmorApartmentHost";
        RegisterClassA(&windowClass);
        HWND window =
            CreateWindowExA(0, "ZelmorApartmentHost", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        {
            std::string log;
            TestEditor editor(&log);
            auto* frame = new gui::CFrame(gui::CRect(0, 0, 200, 150), window, &editor);
            ProbeRecord record;
            frame->addView(new ProbeView(gui::CRect(0, 0, 20, 20), &record));
            outcome.dropActive = frame->isDropActive();
            outcome.hadWindow = frame->getNativeWindow() != nullptr;
            frame->draw(static_cast<gui::CView*>(frame));
            outcome.draws = record.draws;
            frame->forget();
        }
        // Still initialised once, by this thread itself: nobody uninitialised what OLE refused.
        outcome.again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CoUninitialize();
        CoUninitialize();
        outcome.afterwards = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        CoUninitialize();
        DestroyWindow(window);
        UnregisterClassA("ZelmorApartmentHost", nullptr);
    });
    host.join();
    EXPECT_EQ(outcome.first, S_OK);
    EXPECT_TRUE(outcome.hadWindow);
    EXPECT_FALSE(outcome.dropActive) << "OLE refused, so no drop target";
    EXPECT_EQ(outcome.draws, 1) << "drawing works without OLE";
    EXPECT_EQ(outcome.again, S_FALSE);
    EXPECT_EQ(outcome.afterwards, S_OK) << "COM was released as often as it was initialised";
}

}  // namespace
}  // namespace guitest
