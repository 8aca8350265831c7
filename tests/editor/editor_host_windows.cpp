// The editor test host on Windows: a real top-level parent window, real input, the plug-in's DLL.
#include <stdexcept>

#include "tests/conformance/support.h"
#include "tests/editor/editor_host.h"

namespace editortest {
namespace {

constexpr int kHostX = 40;
constexpr int kHostY = 30;
constexpr int kHostWidth = 460;
constexpr int kHostHeight = 680;

const PluginLibrary& library(Build build) {
    static std::unique_ptr<PluginLibrary> loaded[2];
    auto& slot = loaded[build == Build::Plugin ? 0 : 1];
    if (!slot) {
        std::string error;
        slot = PluginLibrary::open(build == Build::Plugin ? ZELMOR_EDITOR_PLUGIN : ZELMOR_PLUGIN_WITHOUT_IMAGES, error);
        if (!slot) {
            throw std::runtime_error(error);
        }
    }
    return *slot;
}

}  // namespace

struct EditorHost::Target {
    guitest::InputScript input;
};

EditorHost::EditorHost(Build build) : target(std::make_unique<Target>()) {
    HWND window = conformance::openHostWindow(kHostX, kHostY, kHostWidth, kHostHeight);
    parentHandle = window;
    target->input.prepare(window);
    makeEffect(library(build));
}

EditorHost::~EditorHost() {
    closeEffect();
    target.reset();
    conformance::pumpMessages();
    conformance::closeHostWindow();
}

void EditorHost::pump() {
    conformance::pumpMessages();
}

HWND EditorHost::frameWindow() const {
    return FindWindowExA(static_cast<HWND>(parentHandle), nullptr, nullptr, nullptr);
}

std::string EditorHost::className(HWND window) const {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

HWND EditorHost::parentOf(HWND window) const {
    return GetParent(window);
}

HWND EditorHost::focusWindow() const {
    return GetFocus();
}

std::vector<std::uint32_t> EditorHost::pixels() const {
    return conformance::windowPixels(frameWindow(), kWidth, kHeight);
}

void EditorHost::repaint() {
    InvalidateRect(frameWindow(), nullptr, FALSE);
    conformance::pumpMessages();
}

POINT EditorHost::screen(int x, int y) const {
    return POINT{kHostX + x, kHostY + y};
}

void EditorHost::drag(std::vector<guitest::Step> steps) {
    for (guitest::Step& step : steps) {
        step.at = screen(step.at.x, step.at.y);
    }
    target->input.play(steps);
}

void EditorHost::click(int x, int y) {
    target->input.click(screen(x, y));
}

void EditorHost::quickClick(int x, int y, bool control) {
    target->input.quickClick(screen(x, y), control);
}

void EditorHost::typeText(const std::string& text) {
    target->input.typeText(text);
}

void EditorHost::pressKey(int virtualKey) {
    target->input.pressKey(virtualKey);
}

void EditorHost::turnWheel(int x, int y, int notches) {
    target->input.turnWheel(frameWindow(), screen(x, y), notches);
}

void EditorHost::setModifiers(bool shift, bool control) {
    target->input.setModifiers(shift, control);
}

bool EditorHost::countsGdiObjects() const {
    // Wine answers 0: it keeps no count.
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) != 0;
}

std::size_t EditorHost::liveGdiObjects() const {
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

std::size_t EditorHost::liveWindows() const {
    // This thread's top-level windows and all their descendants.
    std::size_t count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM counted) -> BOOL {
            ++*reinterpret_cast<std::size_t*>(counted);
            EnumChildWindows(
                window,
                [](HWND, LPARAM inner) -> BOOL {
                    ++*reinterpret_cast<std::size_t*>(inner);
                    return TRUE;
                },
                counted);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

std::intptr_t EditorHost::answer(const HostCall& call) {
    if (onCall) {
        onCall(call.opcode);
    }
    if (call.opcode == audioMasterIdle) {
        target->input.stepFromLoop();
        if (onHostIdle) {
            onHostIdle();
        }
    }
    if (call.opcode == audioMasterAutomate && onAutomate) {
        onAutomate();
    }
    return defaultHostAnswer(call);
}

}  // namespace editortest
