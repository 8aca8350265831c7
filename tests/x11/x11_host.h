// A Linux host for the editor tests: a top-level X window, the plug-in loaded through its entry point,
// the editor opened inside the window, idled at a chosen rate, and real input sent through XTest.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/hosted_effect.h"
#include "host/plugin_library.h"

namespace x11test {

constexpr int kWidth = 396;
constexpr int kHeight = 550;

// The host's own connection to the display named by DISPLAY; tests skip without one.
Display* hostDisplay();

class X11Host {
public:
    // Loads the plug-in (the built library unless another is named) and makes one effect.
    explicit X11Host(const std::string& plugin = ZELMOR_PLUGIN, int idleRate = 30);
    ~X11Host();
    X11Host(const X11Host&) = delete;
    X11Host& operator=(const X11Host&) = delete;

    HostedEffect& effect() { return *hosted; }
    const PluginLibrary& library() const { return *loaded; }
    ::Window window() const { return hostWindow; }

    // effEditOpen with the window's id, and the host's Display* in the value when asked, as many
    // hosts do; then idles until the editor's window shows its first paint.
    std::intptr_t open(bool passDisplay = true);
    void close();
    // One effEditIdle, after waiting for the idle rate's period.
    void idle();
    // Idles until the condition holds or the bound is reached; answers whether it held.
    bool idleUntil(const std::function<bool()>& condition, int mostIdles = 200);

    // The editor's X window inside the host's (0 when there is none) and what the server shows there.
    ::Window editorWindow() const;
    std::vector<std::uint32_t> shownPixels() const;  // top-down 0x00RRGGBB

    // Input through the X server, in the editor's coordinates. A step list runs one step each time
    // the plug-in asks for the host's idle time, so a control's tracking loop sees each of them.
    void moveTo(int x, int y);
    void button(unsigned int button, bool down);
    void key(unsigned long keySymbol, bool down);
    void typeText(const std::string& text);
    void setModifier(unsigned long keySymbol, bool down);  // XK_Shift_L, XK_Control_L
    // Presses the left button at the first point, moves through the others, and releases at the last.
    void drag(const std::vector<std::pair<int, int>>& points);
    void click(int x, int y, unsigned int which = 1);
    // Press and release both queued at the server, then one effEditIdle: a quick click or a tap
    // between two of the host's idles.
    void quickClick(int x, int y);

    // The host's side of the record: audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit.
    struct Edit {
        int opcode;
        int index;
        float value;
    };
    std::vector<Edit> edits() const;
    void clearEdits();
    std::function<void()> onHostIdle;  // also run for each of the plug-in's audioMasterIdle calls

    void destroyWindow();  // as a host that destroys its window before closing the editor

private:
    std::intptr_t answer(const HostCall& call);
    void finishSteps();
    void sync() const;

    Display* display;
    ::Window hostWindow = 0;
    int periodMilliseconds;
    std::unique_ptr<PluginLibrary> loaded;
    std::unique_ptr<HostedEffect> hosted;
    std::vector<std::function<void()>> steps;  // what the next host idles do
    bool opened = false;
};

// What the subset drew into the editor's window, read through the testing build's access table
// (empty for the plain build).
std::vector<std::uint32_t> surfacePixels(X11Host& host);
// Idles until the server shows what the subset drew; answers whether it came to that.
bool showsTheSurface(X11Host& host);

}  // namespace x11test
