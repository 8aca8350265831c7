// The X11 presenter's windows and pixels: creating the window inside the host's, keeping an image of
// the surface on the server, and sending only the pixels that changed.
#include "platform/present/x11/x11_presenter.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/present/x11/x11_errors.h"
#include "platform/window/window.h"

namespace platform::x11 {
namespace {

constexpr long kEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                         KeyReleaseMask | StructureNotifyMask | FocusChangeMask;

int lowestBit(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1u) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int bitCount(unsigned long mask) {
    int bits = 0;
    for (; mask != 0; mask >>= 1) {
        bits += static_cast<int>(mask & 1u);
    }
    return bits;
}

unsigned long channel(std::uint32_t value, unsigned long mask) {
    const int bits = bitCount(mask);
    if (bits == 0) {
        return 0;
    }
    return ((static_cast<unsigned long>(value) >> (8 - std::min(bits, 8))) << lowestBit(mask)) & mask;
}

// The subset's 0x00RRGGBB in the server's pixel layout: the common 32-bit layout copies straight
// (with an opaque alpha for 32-bit visuals), any other goes pixel by pixel.
void copyRow(XImage& image, const std::uint32_t* from, int row, int left, int right) {
    const bool direct = image.bits_per_pixel == 32 && image.byte_order == LSBFirst && image.red_mask == 0xFF0000u &&
                        image.green_mask == 0xFF00u && image.blue_mask == 0xFFu;
    if (direct) {
        auto* to =
            reinterpret_cast<std::uint32_t*>(image.data + static_cast<std::ptrdiff_t>(row) * image.bytes_per_line);
        const std::uint32_t alpha = image.depth == 32 ? 0xFF000000u : 0;
        for (int x = left; x < right; ++x) {
            to[x] = (from[x] & 0xFFFFFFu) | alpha;
        }
        return;
    }
    for (int x = left; x < right; ++x) {
        const std::uint32_t pixel = from[x];
        const unsigned long value = channel((pixel >> 16) & 0xFF, image.red_mask) |
                                    channel((pixel >> 8) & 0xFF, image.green_mask) |
                                    channel(pixel & 0xFF, image.blue_mask);
        XPutPixel(&image, x, row, value);
    }
}

}  // namespace

Presenter& presenterInstance() {
    static Presenter instance;
    return instance;
}

void Presenter::offer(Display* display) {
    const auto thread = std::this_thread::get_id();
    for (Offer& offer : offered) {
        if (offer.thread == thread) {
            // An open that came to nothing left its connection; the new one replaces it.
            const Library& x = *library();
            forgetConnection(x, offer.display);
            x.closeDisplay(offer.display);
            offer.display = display;
            return;
        }
    }
    offered.push_back({thread, display});
}

Surface* Presenter::find(HWND handle) {
    for (auto& surface : surfaces) {
        if (surface->handle == handle) {
            return surface.get();
        }
    }
    return nullptr;
}

void Presenter::windowShown(HWND topLevel, HWND nativeParent, const RECT& placement, const SurfacePixels& pixels) {
    const Library& x = *library();
    const int width = std::max(1, static_cast<int>(placement.right - placement.left));
    const int height = std::max(1, static_cast<int>(placement.bottom - placement.top));
    if (Surface* surface = find(topLevel)) {
        surface->pixels = pixels;
        if (surface->display == nullptr || surface->lost) {
            return;
        }
        x.moveResizeWindow(surface->display, surface->window, placement.left, placement.top,
                           static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (width != surface->width || height != surface->height) {
            freeImage(*surface);
            surface->width = width;
            surface->height = height;
            createImage(*surface);
        }
        surface->exposed = {0, 0, width, height};
        return;
    }
    // Only windows inside a host's window are ours to show, each on the connection its open made.
    const auto thread = std::this_thread::get_id();
    auto offer = std::find_if(offered.begin(), offered.end(), [&](const Offer& o) { return o.thread == thread; });
    if (nativeParent == nullptr || offer == offered.end()) {
        return;
    }
    auto surface = std::make_unique<Surface>();
    surface->handle = topLevel;
    surface->thread = thread;
    surface->display = offer->display;
    offered.erase(offer);
    surface->host = static_cast<::Window>(reinterpret_cast<std::uintptr_t>(nativeParent));
    surface->pixels = pixels;
    surface->width = width;
    surface->height = height;

    Display* display = surface->display;
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;  // the surface paints every pixel: no flash of a background
    attributes.border_pixel = 0;
    attributes.colormap = DefaultColormap(display, screen);
    attributes.event_mask = kEvents;
    // Created where it belongs, never reparented later: some hosts answer a reparent by resizing.
    surface->window = x.createWindow(display, surface->host, placement.left, placement.top,
                                     static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                     DefaultDepth(display, screen), InputOutput, DefaultVisual(display, screen),
                                     CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    surface->context = x.createGC(display, surface->window, 0, nullptr);
    x.mapWindow(display, surface->window);
    x.sync(display, False);
    if (takeErrors(display) != 0 || dropped(*surface)) {
        // The host's window (or the connection) went between the open's check and now.
        surface->gone = true;
    } else {
        createImage(*surface);
    }
    if (pointerWindow == nullptr) {
        pointerWindow = topLevel;
    }
    surfaces.push_back(std::move(surface));
}

void Presenter::createImage(Surface& surface) {
    const Library& x = *library();
    Display* display = surface.display;
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    const auto depth = static_cast<unsigned>(DefaultDepth(display, screen));
    const auto width = static_cast<unsigned>(surface.width);
    const auto height = static_cast<unsigned>(surface.height);
    surface.shown.assign(static_cast<std::size_t>(surface.width) * static_cast<std::size_t>(surface.height), 0);
    surface.exposed = {0, 0, surface.width, surface.height};
    Image& image = surface.image;
    image = Image{};
    if (x.hasSharedMemory() && x.shmQueryExtension(display)) {
        image.image = x.shmCreateImage(display, visual, depth, ZPixmap, nullptr, &image.segment, width, height);
        if (image.image != nullptr) {
            const auto bytes = static_cast<std::size_t>(image.image->bytes_per_line) * height;
            image.segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
            void* memory =
                image.segment.shmid >= 0 ? shmat(image.segment.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
            if (memory != reinterpret_cast<void*>(-1)) {
                image.segment.shmaddr = image.image->data = static_cast<char*>(memory);
                image.segment.readOnly = False;
                x.shmAttach(display, &image.segment);
                x.sync(display, False);
                image.shared = takeErrors(display) == 0;  // a server on another machine refuses
                if (!image.shared) {
                    shmdt(memory);
                }
            }
            // Marked for removal at once: the segment goes when the server and we detach, even if
            // the host's process ends without closing the editor.
            if (image.segment.shmid >= 0) {
                shmctl(image.segment.shmid, IPC_RMID, nullptr);
            }
            if (!image.shared) {
                image.image->data = nullptr;
                XDestroyImage(image.image);
                image.image = nullptr;
            }
        }
    }
    if (image.image == nullptr) {
        image.image = x.createImage(display, visual, depth, ZPixmap, 0, nullptr, width, height, 32, 0);
        if (image.image != nullptr) {
            const auto bytes = static_cast<std::size_t>(image.image->bytes_per_line) * height;
            image.image->data = static_cast<char*>(std::calloc(bytes, 1));
            if (image.image->data == nullptr) {
                XDestroyImage(image.image);
                image.image = nullptr;
            }
        }
    }
}

void Presenter::freeImage(Surface& surface) {
    Image& image = surface.image;
    if (image.image == nullptr) {
        return;
    }
    if (image.shared) {
        // A server that dropped the connection has detached the segment itself.
        if (!surface.lost) {
            library()->shmDetach(surface.display, &image.segment);
            library()->sync(surface.display, False);
            dropped(surface);
        }
        shmdt(image.segment.shmaddr);
        image.image->data = nullptr;
    }
    XDestroyImage(image.image);  // frees the data of an image that is not shared
    image = Image{};
}

void Presenter::release(Surface& surface) {
    if (surface.display == nullptr) {
        return;
    }
    const Library& x = *library();
    freeImage(surface);
    // On a lost connection this only frees the context's memory: Xlib sends nothing more there.
    if (surface.context != nullptr) {
        x.freeGC(surface.display, surface.context);
    }
    if (!surface.gone) {
        x.destroyWindow(surface.display, surface.window);
    }
    if (!surface.lost) {
        x.sync(surface.display, False);
    }
    forgetConnection(x, surface.display);
    x.closeDisplay(surface.display);
    surface.display = nullptr;
    surface.context = nullptr;
    surface.shown.clear();
    surface.shown.shrink_to_fit();
}

bool Presenter::dropped(Surface& surface) {
    if (!surface.lost && surface.display != nullptr && lost(surface.display)) {
        surface.lost = true;
        surface.gone = true;
    }
    return surface.lost;
}

void Presenter::present(HWND topLevel, const SurfacePixels& pixels, const RECT& changed) {
    if (Surface* surface = find(topLevel)) {
        surface->pixels = pixels;
        surface->pending = surface->pending.unite(Box{changed.left, changed.top, changed.right, changed.bottom});
    }
}

void Presenter::windowDestroyed(HWND topLevel) {
    auto place = std::find_if(surfaces.begin(), surfaces.end(), [&](const auto& s) { return s->handle == topLevel; });
    if (place == surfaces.end()) {
        return;
    }
    release(**place);
    surfaces.erase(place);
    if (pointerWindow == topLevel) {
        pointerWindow = surfaces.empty() ? nullptr : surfaces.front()->handle;
    }
}

void Presenter::withdraw() {
    const auto thread = std::this_thread::get_id();
    for (auto offer = offered.begin(); offer != offered.end(); ++offer) {
        if (offer->thread == thread) {
            forgetConnection(*library(), offer->display);
            library()->closeDisplay(offer->display);
            offered.erase(offer);
            return;
        }
    }
}

void Presenter::flush() {
    if (holding) {
        return;
    }
    const auto thread = std::this_thread::get_id();
    for (auto& surface : surfaces) {
        if (surface->thread == thread && surface->display != nullptr && !surface->gone) {
            send(*surface);
            dropped(*surface);
        }
    }
}

void Presenter::send(Surface& surface) {
    followFocus(surface);
    if (dropped(surface)) {
        return;
    }
    const Box whole{0, 0, std::min(surface.width, surface.pixels.width),
                    std::min(surface.height, surface.pixels.height)};
    const Box pending = surface.pending.intersect(whole);
    const Box exposed = surface.exposed.intersect(whole);
    if ((pending.empty() && exposed.empty()) || surface.image.image == nullptr || surface.pixels.topRow == nullptr) {
        return;
    }
    const Library& x = *library();
    // Hidden (the host's window, or one of its ancestors, is unmapped): nothing is sent, and what
    // changed meanwhile is still found by comparison once the window is seen again.
    XWindowAttributes attributes{};
    if (x.getWindowAttributes(surface.display, surface.window, &attributes) == 0 ||
        attributes.map_state != IsViewable) {
        surface.exposed = {};
        return;
    }
    // The rows and columns that differ from what was sent, plus everything exposed.
    Box changed = exposed;
    for (int row = pending.top; row < pending.bottom; ++row) {
        const std::uint32_t* now = surface.pixels.topRow + static_cast<std::ptrdiff_t>(row) * surface.pixels.rowStep;
        const std::uint32_t* before = surface.shown.data() + static_cast<std::ptrdiff_t>(row) * surface.width;
        int first = pending.left;
        while (first < pending.right && ((now[first] ^ before[first]) & 0xFFFFFFu) == 0) {
            ++first;
        }
        if (first == pending.right) {
            continue;
        }
        int last = pending.right - 1;
        while (((now[last] ^ before[last]) & 0xFFFFFFu) == 0) {
            --last;
        }
        changed = changed.unite(Box{first, row, last + 1, row + 1});
    }
    surface.pending = {};
    surface.exposed = {};
    if (changed.empty()) {
        return;
    }
    XImage& image = *surface.image.image;
    for (int row = changed.top; row < changed.bottom; ++row) {
        const std::uint32_t* now = surface.pixels.topRow + static_cast<std::ptrdiff_t>(row) * surface.pixels.rowStep;
        std::copy(now + changed.left, now + changed.right,
                  surface.shown.data() + static_cast<std::ptrdiff_t>(row) * surface.width + changed.left);
        copyRow(image, now, row, changed.left, changed.right);
    }
    const auto width = static_cast<unsigned>(changed.right - changed.left);
    const auto height = static_cast<unsigned>(changed.bottom - changed.top);
    if (surface.image.shared) {
        x.shmPutImage(surface.display, surface.window, surface.context, &image, changed.left, changed.top, changed.left,
                      changed.top, width, height, False);
        // The server reads the segment after the request: the next drawing must wait for it.
        x.sync(surface.display, False);
    } else {
        x.putImage(surface.display, surface.window, surface.context, &image, changed.left, changed.top, changed.left,
                   changed.top, width, height);
        x.flush(surface.display);
    }
}

void Presenter::followFocus(Surface& surface) {
    // The X server gives keys to the host's window unless ours takes the focus, which it holds just
    // while an edit box of this window has the subset's focus.
    std::shared_ptr<Window> focus = findWindow(GetFocus());
    const bool wanted =
        focus && focus->windowClass && focus->windowClass->builtIn && focus->topLevel().handle == surface.handle;
    if (wanted == surface.focused) {
        return;
    }
    surface.focused = wanted;
    const Library& x = *library();
    x.setInputFocus(surface.display, wanted ? surface.window : surface.host, RevertToParent, CurrentTime);
    x.flush(surface.display);
}

}  // namespace platform::x11
