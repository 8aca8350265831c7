// A test host for the editor: loads the plug-in, makes an effect through its entry point, opens the
// editor in a parent window, feeds it input and reads its pixels, on both targets alike.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/aeff_editor.h"
#include "host/hosted_effect.h"
#include "platform/win32.h"
#include "tests/gui/input_script.h"

namespace editortest {

constexpr int kWidth = 396;
constexpr int kHeight = 550;

// Which build of the plug-in a host loads: the plug-in itself, or one whose images are missing.
enum class Build { Plugin, WithoutImages };

// On Windows the parent is a real top-level window and input is real; on Linux the parent is a native
// handle the subset does not know (as a host's X11 window is), and input and time come from the
// subset's test driver inside the plug-in. One host at a time, on the thread that made it.
class EditorHost {
public:
    explicit EditorHost(Build build = Build::Plugin);
    ~EditorHost();
    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;

    HostedEffect& effect() { return *hosted; }
    void* parent() const { return parentHandle; }

    // effEditOpen with the parent, then what the system delivers until the first paint is done.
    std::intptr_t open();
    void close();
    // effEditIdle, then what the system delivers.
    void idle();
    void pump();

    // The editor's window inside the parent (null when there is none), and what tests read of it.
    HWND frameWindow() const;
    std::string className(HWND window) const;
    HWND parentOf(HWND window) const;
    HWND focusWindow() const;
    std::vector<std::uint32_t> pixels() const;  // top-down 0x00RRGGBB, kWidth by kHeight
    // Has the system paint the whole window again, as when the host's window is uncovered.
    void repaint();

    // Input, in the editor's coordinates. A gesture's steps take effect one per iteration of the
    // control's tracking loop.
    void drag(std::vector<guitest::Step> steps);
    void click(int x, int y);
    // Press and release both delivered before the editor handles either (Linux: both posted, then the
    // messages dispatched; Windows: both sent, then the messages processed).
    void quickClick(int x, int y, bool control = false);
    void typeText(const std::string& text);
    void pressKey(int virtualKey);
    void turnWheel(int x, int y, int notches);
    void setModifiers(bool shift, bool control);

    // GDI objects (with device contexts, where the system counts them) and windows alive now.
    bool countsGdiObjects() const;
    std::size_t liveGdiObjects() const;
    std::size_t liveWindows() const;

    // Run whenever the plug-in asks for the host's idle time (inside a control's tracking loop), and
    // whenever it automates a parameter.
    std::function<void()> onHostIdle;
    std::function<void()> onAutomate;
    // Run first for every call the plug-in makes to the host, with its opcode.
    std::function<void(std::int32_t)> onCall;

private:
    // Through the library's entry point, with this host's answers; throws when there is no effect.
    void makeEffect(const PluginLibrary& library);
    void closeEffect();
    std::intptr_t answer(const HostCall& call);
    POINT screen(int x, int y) const;

    // What each target keeps: the input script and host window, or the plug-in's test driver.
    struct Target;
    std::unique_ptr<Target> target;
    void* parentHandle = nullptr;
    std::unique_ptr<HostedEffect> hosted;
};

}  // namespace editortest
