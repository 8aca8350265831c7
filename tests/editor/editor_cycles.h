// Opening, idling and closing the editor many times while other threads process audio and automate
// parameters, as hosts do; and what the process holds before and after.
#pragma once

#include <cstddef>

#include "tests/editor/editor_host.h"
#include "tests/editor/panel_reading.h"

namespace editortest {

// The editor's user-interface thread opens, idles and closes the editor this many times, while one
// thread processes audio through the same effect and another sets all three parameters continuously.
void runCycles(EditorHost& host, int cycles);

struct Resources {
    bool gdiCounted;
    std::size_t gdiObjects;
    std::size_t windows;
};
Resources resourcesOf(const EditorHost& host);
// Nothing leaked: every count back where it was (counts the system does not give are skipped).
void expectSameResources(const Resources& before, const Resources& after);

}  // namespace editortest
