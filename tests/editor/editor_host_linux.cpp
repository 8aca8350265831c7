// The editor test host on Linux: the plug-in's testing build, whose own subset the host reaches
// through the table it exports; the parent is a native handle, as a host's X11 window is.
#include <stdexcept>

#include "tests/editor/editor_host.h"
#include "tests/editor/testing_access.h"

namespace editortest {
namespace {

// Stands for a host's X11 window id: a handle the subset has never made.
void* const kNativeParent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x3c00007));

struct Loaded {
    std::unique_ptr<PluginLibrary> library;
    const TestingAccess* access = nullptr;
};

const Loaded& library(Build build) {
    static Loaded loaded[2];
    Loaded& slot = loaded[build == Build::Plugin ? 0 : 1];
    if (!slot.library) {
        std::string error;
        slot.library =
            PluginLibrary::open(build == Build::Plugin ? ZELMOR_EDITOR_PLUGIN : ZELMOR_PLUGIN_WITHOUT_IMAGES, error);
        if (!slot.library) {
            throw std::runtime_error(error);
        }
        auto entry = reinterpret_cast<TestingAccessEntry>(slot.library->symbol("zelmorTestingAccess"));
        if (entry == nullptr) {
            throw std::runtime_error("the testing build exports no zelmorTestingAccess");
        }
        slot.access = entry();
    }
    return slot;
}

}  // namespace

struct EditorHost::Target {
    const TestingAccess* access;
};

EditorHost::EditorHost(Build build) {
    const Loaded& loaded = library(build);
    target = std::make_unique<Target>(Target{loaded.access});
    // Virtual time from the start: the editor reads the clock when the effect makes it.
    target->access->startDriver();
    parentHandle = kNativeParent;
    makeEffect(*loaded.library);
}

EditorHost::~EditorHost() {
    closeEffect();
    target->access->pumpMessages();
    target->access->stopDriver();
}

void EditorHost::pump() {
    target->access->pumpMessages();
}

HWND EditorHost::frameWindow() const {
    return target->access->windowIn(parentHandle);
}

std::string EditorHost::className(HWND window) const {
    char name[256] = "";
    target->access->className(window, name, sizeof name);
    return name;
}

HWND EditorHost::parentOf(HWND window) const {
    return target->access->parentOf(window);
}

HWND EditorHost::focusWindow() const {
    return target->access->focusWindow();
}

std::vector<std::uint32_t> EditorHost::pixels() const {
    std::vector<std::uint32_t> read(static_cast<std::size_t>(kWidth) * kHeight);
    if (HWND window = frameWindow()) {
        target->access->readPixels(window, kWidth, kHeight, read.data());
    }
    return read;
}

void EditorHost::repaint() {
    target->access->invalidate(frameWindow());
    target->access->pumpMessages();
}

POINT EditorHost::screen(int x, int y) const {
    RECT bounds{};
    target->access->windowRect(frameWindow(), &bounds);
    return POINT{bounds.left + x, bounds.top + y};
}

void EditorHost::drag(std::vector<guitest::Step> steps) {
    std::vector<platform::GestureStep> converted;
    for (const guitest::Step& step : steps) {
        platform::GestureStep next;
        next.cursor = screen(step.at.x, step.at.y);
        next.left = step.left;
        next.shift = step.shift;
        next.control = step.control;
        converted.push_back(next);
    }
    target->access->gesture(converted.data(), converted.size());
    target->access->pumpMessages();
    target->access->holdButtons(false, false, false);
    target->access->setModifiers(false, false, false);
}

void EditorHost::click(int x, int y) {
    target->access->click(screen(x, y));
    target->access->pumpMessages();
}

void EditorHost::quickClick(int x, int y, bool control) {
    target->access->setModifiers(false, control, false);
    target->access->quickClick(screen(x, y));
    target->access->pumpMessages();
    target->access->setModifiers(false, false, false);
}

void EditorHost::typeText(const std::string& text) {
    target->access->typeText(text.c_str());
    target->access->pumpMessages();
}

void EditorHost::pressKey(int virtualKey) {
    target->access->pressKey(virtualKey);
    target->access->pumpMessages();
}

void EditorHost::turnWheel(int x, int y, int notches) {
    target->access->turnWheel(screen(x, y), notches);
    target->access->pumpMessages();
}

void EditorHost::setModifiers(bool shift, bool control) {
    target->access->setModifiers(shift, control, false);
}

bool EditorHost::countsGdiObjects() const {
    return true;
}

std::size_t EditorHost::liveGdiObjects() const {
    return target->access->liveGdiObjects();
}

std::size_t EditorHost::liveWindows() const {
    return target->access->liveWindows();
}

std::intptr_t EditorHost::answer(const HostCall& call) {
    if (onCall) {
        onCall(call.opcode);
    }
    if (call.opcode == audioMasterIdle && onHostIdle) {
        onHostIdle();
    }
    if (call.opcode == audioMasterAutomate && onAutomate) {
        onAutomate();
    }
    return defaultHostAnswer(call);
}

}  // namespace editortest
