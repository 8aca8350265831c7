// The pacing of idle work during gestures, on a virtual clock that the test moves: what no host can
// reach through the record, since only the system's clock stands behind it.
#include <gtest/gtest.h>

#include <vector>

#include "editor/aeff_gui_editor.h"

namespace editortest {
namespace {

struct VirtualClock {
    static inline std::uint32_t now = 0;
    static inline std::vector<std::uint32_t> sleeps;
    static std::uint32_t ticks() { return now; }
    static void sleep(std::uint32_t milliseconds) {
        sleeps.push_back(milliseconds);
        now += milliseconds;
    }
};

class CountingEditor : public AEffGUIEditor {
public:
    CountingEditor() : AEffGUIEditor(nullptr) {}
    void idle() override { ++idles; }
    int idles = 0;
};

class IdlePacing : public ::testing::Test {
protected:
    void SetUp() override {
        kept = AEffGUIEditor::idleClock;
        AEffGUIEditor::idleClock = {VirtualClock::ticks, VirtualClock::sleep};
        VirtualClock::sleeps.clear();
    }
    void TearDown() override { AEffGUIEditor::idleClock = kept; }

    // An editor whose last paced idle happened at t: the next is due at t + 100.
    static std::unique_ptr<CountingEditor> idledAt(std::uint32_t t) {
        VirtualClock::now = t;
        auto editor = std::make_unique<CountingEditor>();
        editor->doIdleStuff();
        editor->idles = 0;
        VirtualClock::sleeps.clear();
        return editor;
    }
    // One call at t + offset: answers whether it idled, and records its sleeps.
    static bool idlesAt(CountingEditor& editor, std::uint32_t t, std::uint32_t offset) {
        VirtualClock::now = t + offset;
        const int before = editor.idles;
        editor.doIdleStuff();
        return editor.idles > before;
    }

    AEffGUIEditor::IdleClock kept{};
};

TEST_F(IdlePacing, EarlyCallsSleepAndWaitLateOnesIdleAtOnce) {
    for (std::uint32_t t : {1000u, 0xFFFFFFC0u, 0xFFFFFF9Cu}) {
        auto early = idledAt(t);
        EXPECT_FALSE(idlesAt(*early, t, 45)) << t;
        EXPECT_EQ(VirtualClock::sleeps, std::vector<std::uint32_t>{4}) << t;

        auto nearly = idledAt(t);
        EXPECT_TRUE(idlesAt(*nearly, t, 46)) << t;
        EXPECT_EQ(VirtualClock::sleeps, std::vector<std::uint32_t>{4}) << t;

        auto due = idledAt(t);
        EXPECT_TRUE(idlesAt(*due, t, 100)) << t;
        EXPECT_TRUE(idlesAt(*due, t, 250)) << t;
        EXPECT_TRUE(VirtualClock::sleeps.empty()) << t;
    }
}

TEST_F(IdlePacing, AGestureAcrossTheClocksWrapKeepsIdling) {
    // Steps every 10 ms from well before the wrap to well after it: about one idle per 50 ms throughout.
    const std::uint32_t start = 0xFFFFFFFFu - 1000u;
    auto editor = idledAt(start);
    int before = 0;
    int after = 0;
    for (std::uint32_t elapsed = 10; elapsed <= 2000; elapsed += 10) {
        const bool idled = idlesAt(*editor, start, elapsed);
        if (idled) {
            ++(elapsed <= 1000 ? before : after);
        }
    }
    EXPECT_GE(before, 15);
    EXPECT_GE(after, 15) << "the idle redraws stop after the wrap";
}

}  // namespace
}  // namespace editortest
