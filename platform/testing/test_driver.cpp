// The test driver: feeds the subset's input state and message queue, runs a virtual clock, makes drags.
#include "platform/testing/test_driver.h"

#include "platform/gdi/objects.h"
#include "platform/ole/drop_targets.h"
#include "platform/ole/global_memory.h"
#include "platform/window/clock.h"
#include "platform/window/window.h"

namespace platform::testing {
namespace {

class VirtualClock final : public Clock {
public:
    DWORD ticks() override { return now; }
    void sleep(DWORD milliseconds) override { now += milliseconds; }
    DWORD now = Driver::kStartTicks;
};

VirtualClock virtualClock;

LPARAM clientPoint(HWND window, POINT screen) {
    MapWindowPoints(nullptr, window, &screen, 1);
    return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
}

WPARAM mouseKeys() {
    const InputState& state = input();
    WPARAM keys = 0;
    if (state.down[VK_LBUTTON]) {
        keys |= MK_LBUTTON;
    }
    if (state.down[VK_RBUTTON]) {
        keys |= MK_RBUTTON;
    }
    if (state.down[VK_MBUTTON]) {
        keys |= MK_MBUTTON;
    }
    if (state.down[VK_SHIFT]) {
        keys |= MK_SHIFT;
    }
    if (state.down[VK_CONTROL]) {
        keys |= MK_CONTROL;
    }
    return keys;
}

// A data object holding one text or one list of files, as a drag source hands it over.
class DataObject final : public IDataObject {
public:
    DataObject(CLIPFORMAT held, std::string data) : format(held), bytes(std::move(data)) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (iid != IID_IUnknown) {
            return E_NOINTERFACE;
        }
        *object = this;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++references; }
    ULONG Release() override { return --references; }  // lives on the driver's stack
    HRESULT GetData(FORMATETC* wanted, STGMEDIUM* medium) override {
        if (wanted == nullptr || medium == nullptr) {
            return E_INVALIDARG;
        }
        if (wanted->cfFormat != format || (wanted->tymed & TYMED_HGLOBAL) == 0) {
            return DV_E_FORMATETC;
        }
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = allocateGlobal(bytes);
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_FAIL; }
    HRESULT QueryGetData(FORMATETC* wanted) override {
        return wanted != nullptr && wanted->cfFormat == format ? S_OK : DV_E_FORMATETC;
    }
    HRESULT GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out != nullptr) {
            out->ptd = nullptr;
        }
        return E_FAIL;
    }
    HRESULT SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_FAIL; }
    HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_FAIL; }
    HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_FAIL; }
    HRESULT DUnadvise(DWORD) override { return E_FAIL; }
    HRESULT EnumDAdvise(IEnumSTATDATA**) override { return E_FAIL; }

private:
    CLIPFORMAT format;
    std::string bytes;
    ULONG references = 1;
};

DWORD drag(const Driver& driver, POINT screen, IDataObject& data, bool drop) {
    IDropTarget* target = nullptr;
    for (Window* window = findWindow(driver.windowAt(screen)).get(); window != nullptr && target == nullptr;
         window = window->parent) {
        target = registeredDropTarget(window->handle);
    }
    if (target == nullptr) {
        return DROPEFFECT_NONE;
    }
    input().cursor = screen;
    const POINTL point{screen.x, screen.y};
    const DWORD keys = static_cast<DWORD>(mouseKeys() | MK_LBUTTON);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(&data, keys, point, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragOver(keys, point, &effect);
    if (drop) {
        target->Drop(&data, keys, point, &effect);
    } else {
        target->DragLeave();
    }
    return effect;
}

}  // namespace

Driver::Driver() {
    virtualClock.now = kStartTicks;
    setClock(&virtualClock);
    input() = InputState{};
    input().driven = true;
}

Driver::~Driver() {
    setClock(nullptr);
    input() = InputState{};
}

DWORD Driver::ticks() const {
    return virtualClock.now;
}

void Driver::advance(DWORD milliseconds) {
    virtualClock.now += milliseconds;
}

void Driver::setCursor(POINT screen) {
    input().cursor = screen;
}

void Driver::setModifiers(bool shift, bool control, bool alt) {
    InputState& state = input();
    state.down[VK_SHIFT] = shift;
    state.down[VK_CONTROL] = control;
    state.down[VK_MENU] = alt;
}

void Driver::holdButtons(bool left, bool right, bool middle) {
    InputState& state = input();
    state.gesture.clear();
    state.down[VK_LBUTTON] = left;
    state.down[VK_RBUTTON] = right;
    state.down[VK_MBUTTON] = middle;
}

void Driver::swapButtons(bool swapped) {
    input().swappedButtons = swapped;
}

void Driver::gesture(const std::vector<GestureStep>& steps) {
    if (steps.empty()) {
        return;
    }
    InputState& state = input();
    state.gesture.assign(steps.begin() + 1, steps.end());
    state.apply(steps.front());
    HWND window = windowAt(steps.front().cursor);
    if (window == nullptr) {
        return;
    }
    // The system reports the logical button: with swapped buttons the physical left one is the right.
    const bool left = steps.front().left;
    const bool right = steps.front().right;
    UINT message = WM_MBUTTONDOWN;
    if (left || right) {
        message = (left != state.swappedButtons) ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
    }
    PostMessageA(window, message, mouseKeys(), clientPoint(window, steps.front().cursor));
}

bool Driver::gestureFinished() const {
    return input().gesture.empty();
}

void Driver::click(POINT screen) {
    GestureStep press;
    press.cursor = screen;
    press.left = true;
    GestureStep release;
    release.cursor = screen;
    gesture({press, release});
    if (HWND window = windowAt(screen)) {
        const UINT message = input().swappedButtons ? WM_RBUTTONUP : WM_LBUTTONUP;
        PostMessageA(window, message, 0, clientPoint(window, screen));
    }
}

void Driver::quickClick(POINT screen) {
    InputState& state = input();
    state.gesture.clear();
    state.cursor = screen;
    const int key = state.swappedButtons ? VK_RBUTTON : VK_LBUTTON;
    HWND window = windowAt(screen);
    state.down[static_cast<std::size_t>(key)] = true;
    if (window != nullptr) {
        PostMessageA(window, WM_LBUTTONDOWN, mouseKeys() | MK_LBUTTON, clientPoint(window, screen));
    }
    state.down[static_cast<std::size_t>(key)] = false;
    if (window != nullptr) {
        PostMessageA(window, WM_LBUTTONUP, mouseKeys() & ~static_cast<WPARAM>(MK_LBUTTON), clientPoint(window, screen));
    }
}

void Driver::typeText(const std::string& text) {
    HWND focus = GetFocus();
    if (focus == nullptr) {
        return;
    }
    for (char character : text) {
        const auto code = static_cast<WPARAM>(static_cast<unsigned char>(character));
        PostMessageA(focus, WM_CHAR, code, 1);
    }
}

void Driver::pressKey(int virtualKey) {
    HWND focus = GetFocus();
    if (focus == nullptr) {
        return;
    }
    const auto key = static_cast<WPARAM>(virtualKey);
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    if (virtualKey == VK_RETURN || virtualKey == VK_BACK || virtualKey == VK_ESCAPE || virtualKey == VK_TAB) {
        PostMessageA(focus, WM_CHAR, key, 1);
    }
    PostMessageA(focus, WM_KEYUP, key, 1);
}

void Driver::turnWheel(POINT screen, int notches) {
    input().cursor = screen;
    HWND window = windowAt(screen);
    if (window == nullptr) {
        return;
    }
    const auto delta = static_cast<WORD>(static_cast<SHORT>(notches * WHEEL_DELTA));
    PostMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(mouseKeys()), delta),
                 MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
}

int Driver::pumpMessages() {
    // Bounded, so that a window that never validates its paint area cannot hang a test.
    constexpr int kMostMessages = 10000;
    int count = 0;
    MSG message{};
    while (count < kMostMessages && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
        ++count;
    }
    return count;
}

DWORD Driver::dragText(POINT screen, const std::string& text, bool drop) {
    DataObject data(CF_TEXT, text + '\0');
    return drag(*this, screen, data, drop);
}

DWORD Driver::dragFiles(POINT screen, const std::vector<std::string>& files, bool drop) {
    DataObject data(CF_HDROP, dropFilesBytes(files.data(), files.size()));
    return drag(*this, screen, data, drop);
}

HWND Driver::windowAt(POINT screen) const {
    for (const auto& top : topLevelWindows()) {
        if (Window* found = deepestAt(*top, screen)) {
            return found->handle;
        }
    }
    return nullptr;
}

HDROP Driver::makeFileList(const std::vector<std::string>& files) {
    return static_cast<HDROP>(allocateGlobal(dropFilesBytes(files.data(), files.size())));
}

void Driver::freeFileList(HDROP files) {
    freeGlobal(files);
}

std::size_t Driver::liveGdiObjects() {
    return liveObjectCount();
}

namespace {
std::size_t countWithChildren(const Window& window) {
    std::size_t count = 1;
    for (const auto& child : window.children) {
        count += countWithChildren(*child);
    }
    return count;
}
}  // namespace

std::size_t Driver::liveWindows() {
    std::size_t count = 0;
    for (const auto& top : topLevelWindows()) {
        count += countWithChildren(*top);
    }
    return count;
}

HWND Driver::windowInNativeParent(HWND native) {
    for (const auto& top : topLevelWindows()) {
        if (top->nativeParent == native && !top->destroying) {
            return top->handle;
        }
    }
    return nullptr;
}

}  // namespace platform::testing
