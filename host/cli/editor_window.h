// The host's top-level window that the plug-in's editor opens in, one implementation per platform.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A picture of the window's client area: rows from the top, three bytes (red, green, blue) a pixel.
struct WindowPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

class EditorWindow {
public:
    // Shows a window on the desktop whose client area is exactly width x height, ready for the
    // editor; throws std::runtime_error with a one-line reason when there is no desktop to show it on.
    EditorWindow(const std::string& title, int width, int height);
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    // effEditOpen's ptr and value: the native window, and what hosts of this platform pass beside it.
    void* nativeHandle() const;
    std::intptr_t openValue() const;

    // Handles the window's events and calls tick about 30 times a second, on this thread, until tick
    // answers false or the user closes the window. True when the user closed it.
    bool run(const std::function<bool()>& tick);

    // The client area's pixels as shown on the desktop, the editor's included; throws on failure.
    WindowPixels pixels();

private:
    struct System;
    std::unique_ptr<System> system;
};
