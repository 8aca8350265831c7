// What the editor tests share for gestures: a step of real input, and the host calls of a gesture.
#pragma once

#include <string>
#include <vector>

#include "host/hosted_effect.h"
#include "tests/gui/input_script.h"

namespace editortest {

// One step of a gesture at a point of the editor, with the buttons and modifiers held there.
inline guitest::Step at(int x, int y, bool left = true, bool shift = false, bool control = false) {
    guitest::Step step;
    step.at = POINT{x, y};
    step.left = left;
    step.shift = shift;
    step.control = control;
    return step;
}

// The host calls of the gesture bracket and automation, as "begin 0", "automate 0" and "end 0".
struct Bracketed {
    std::vector<std::string> events;
    std::vector<float> automated;
};

inline Bracketed bracketOf(const std::vector<HostCall>& calls) {
    Bracketed seen;
    for (const HostCall& call : calls) {
        const std::string index = std::to_string(call.index);
        if (call.opcode == audioMasterBeginEdit) {
            seen.events.push_back("begin " + index);
        } else if (call.opcode == audioMasterEndEdit) {
            seen.events.push_back("end " + index);
        } else if (call.opcode == audioMasterAutomate) {
            seen.events.push_back("automate " + index);
            seen.automated.push_back(call.opt);
        }
    }
    return seen;
}

}  // namespace editortest
