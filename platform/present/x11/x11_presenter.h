// The presenter for Linux hosts: each top-level window of the subset that lives in a host's X11
// window is shown in an X window of its own, on a connection of its own, created inside the host's.
#pragma once

#include <memory>
#include <thread>
#include <vector>

#include "platform/gdi/geometry.h"
#include "platform/present/presenter.h"
#include "platform/present/x11/x11_library.h"
#include "platform/window/native_input.h"

namespace platform::x11 {

// An image the server can read: in shared memory where the extension allows, else sent as requests.
struct Image {
    XImage* image = nullptr;
    XShmSegmentInfo segment{};
    bool shared = false;
};

// What one subset window shows on the X server.
struct Surface {
    HWND handle = nullptr;
    std::thread::id thread;
    Display* display = nullptr;  // null once the host's window went and everything was freed
    ::Window host = 0;
    ::Window window = 0;
    GC context = nullptr;
    Image image;
    std::vector<std::uint32_t> shown;  // the surface's pixels as last sent, for finding what changed
    SurfacePixels pixels;
    int width = 0;
    int height = 0;
    Box pending;           // drawn into since the last flush; only the pixels that differ are sent
    Box exposed;           // to be sent whatever it holds
    bool gone = false;     // the host destroyed its window, and ours with it, or the connection was lost
    bool lost = false;     // the server dropped the connection: no more requests on it
    bool focused = false;  // ours holds the X input focus for an open edit box
};

class Presenter final : public platform::Presenter, public LiveInput {
public:
    // A connection for the next window shown inside a native parent, opened by connect() on the
    // calling thread.
    void offer(Display* display);

    void windowShown(HWND topLevel, HWND nativeParent, const RECT& placement, const SurfacePixels& pixels) override;
    void present(HWND topLevel, const SurfacePixels& pixels, const RECT& changed) override;
    void windowDestroyed(HWND topLevel) override;
    void flush() override;

    void read(InputState& state) override;

    // Turns the pending events of this thread's windows into messages.
    void readEvents();
    // While held, looking for messages shows nothing: the editor's idle shows its round at the end.
    void hold(bool held) { holding = held; }
    // Closes the connection an open made when no window came of it.
    void withdraw();
    bool empty() const { return surfaces.empty() && offered.empty(); }

private:
    Surface* find(HWND handle);
    void createImage(Surface& surface);
    void freeImage(Surface& surface);
    void release(Surface& surface);  // everything on the server, and the connection
    // After requests on the surface's connection: whether the server dropped it, which then ends the
    // surface as a destroyed host window does.
    bool dropped(Surface& surface);
    void send(Surface& surface);
    void followFocus(Surface& surface);
    void handle(Surface& surface, XEvent& event);

    struct Offer {
        std::thread::id thread;
        Display* display;
    };
    std::vector<Offer> offered;
    std::vector<std::unique_ptr<Surface>> surfaces;
    HWND pointerWindow = nullptr;  // the window whose pointer the live questions read
    bool holding = false;
};

Presenter& presenterInstance();

}  // namespace platform::x11
