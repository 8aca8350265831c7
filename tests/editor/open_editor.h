// The editor tests' common start: the editor open in its host, idled once, and the host's record of
// calls cleared, with what the host heard of gestures since then.
#pragma once

#include <gtest/gtest.h>

#include "gui/types.h"
#include "tests/editor/editor_host.h"
#include "tests/editor/gesture_record.h"

namespace editortest {

// The lower cut-off's value display.
const gui::CRect kLowerDisplay(20, 496, 68, 531);

struct OpenEditor : ::testing::Test {
    void SetUp() override {
        ASSERT_EQ(host.open(), 1);
        host.idle();
        host.effect().clearCalls();
    }
    // What the host heard since the editor opened.
    Bracketed bracket() { return bracketOf(host.effect().calls()); }
    // What the host heard since the last look, which the next look then leaves out.
    Bracketed takeBracket() {
        Bracketed seen = bracket();
        host.effect().clearCalls();
        return seen;
    }
    EditorHost host;
};

}  // namespace editortest
