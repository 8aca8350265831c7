// A host may remove the whole effect (effClose) from inside any callback the editor makes during a
// gesture: hosts pump their own events in audioMasterIdle, and some delete a plug-in the moment its
// automation or its gesture's bracket tells them to. Nothing of the effect, the editor or the
// toolkit may touch freed memory on the way out (the AddressSanitizer suite gives this its teeth).
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>

#include "tests/editor/editor_host.h"
#include "tests/editor/gesture_record.h"

namespace editortest {
namespace {

struct Gesture {
    const char* name;
    std::function<void(EditorHost&)> run;
    // What comes before the gesture and is not watched.
    std::function<void(EditorHost&)> prepare = [](EditorHost&) {};
};

const Gesture kGestures[] = {
    {"slider drag",
     [](EditorHost& host) {
         std::vector<guitest::Step> steps;
         for (int y = 440; y >= 300; y -= 20) {
             steps.push_back(at(44, y));
         }
         steps.push_back(at(44, 300, false));
         host.drag(steps);
     }},
    {"switch",
     [](EditorHost& host) {
         host.drag({at(242, 364), at(242, 364, false)});
     }},
    {"typed value",
     [](EditorHost& host) {
         host.click(44, 513);
         host.typeText("700");
         host.pressKey(VK_RETURN);
     }},
    {"wheel", [](EditorHost& host) { host.turnWheel(44, 300, 1); }},
    {"forwarded key", [](EditorHost& host) { host.effect().dispatch(effEditKeyDown, 0, 12); },
     [](EditorHost& host) {
         host.drag({at(44, 360), at(44, 360, false)});
     }},
};

const std::pair<std::int32_t, const char*> kCallbacks[] = {
    {audioMasterIdle, "audioMasterIdle"},
    {audioMasterAutomate, "audioMasterAutomate"},
    {audioMasterBeginEdit, "audioMasterBeginEdit"},
    {audioMasterEndEdit, "audioMasterEndEdit"},
};

TEST(EditorRemoval, TheHostMayCloseTheEffectInsideEveryCallbackOfEveryGesture) {
    std::set<std::string> removed;
    for (const Gesture& gesture : kGestures) {
        for (const auto& [opcode, callback] : kCallbacks) {
            EditorHost host;
            ASSERT_EQ(host.open(), 1);
            host.idle();
            gesture.prepare(host);
            bool closed = false;
            host.onCall = [&, wanted = opcode](std::int32_t made) {
                if (!closed && made == wanted) {
                    closed = true;
                    host.effect().close();
                }
            };
            gesture.run(host);
            host.onCall = nullptr;
            if (closed) {
                removed.insert(std::string(gesture.name) + " in " + callback);
                host.pump();
                EXPECT_EQ(host.frameWindow(), nullptr) << gesture.name << " in " << callback;
            }
        }
    }
    // Every gesture's own callbacks were tried.
    for (const char* expected :
         {"slider drag in audioMasterIdle", "slider drag in audioMasterAutomate", "slider drag in audioMasterBeginEdit",
          "slider drag in audioMasterEndEdit", "switch in audioMasterAutomate", "switch in audioMasterBeginEdit",
          "switch in audioMasterEndEdit", "typed value in audioMasterAutomate", "typed value in audioMasterBeginEdit",
          "typed value in audioMasterEndEdit", "wheel in audioMasterAutomate",
          "forwarded key in audioMasterAutomate"}) {
        EXPECT_EQ(removed.count(expected), 1u) << expected;
    }
}

}  // namespace
}  // namespace editortest
