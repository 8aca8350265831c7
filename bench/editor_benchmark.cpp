// Benchmarks of the plug-in's editor through the effect's record, in a host's window: opening to the
// first paint, an idle with nothing to redraw, one drag step from value to window, a full paint.
#include <benchmark/benchmark.h>

#include "editor/aeff_gui_editor.h"
#include "editor/editor.h"
#include "effect/zelmor.h"
#include "gui/frame.h"
#include "platform/win32.h"

namespace {

intptr_t host(AEffect* /*effect*/, std::int32_t opcode, std::int32_t /*index*/, intptr_t /*value*/, void* /*ptr*/,
              float /*opt*/) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

void deliverAll() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
}

// One effect with a host window that its editor opens in.
struct HostWindow {
    HostWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "ZelmorEditorBenchmarkHost";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, windowClass.lpszClassName, "Host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20,
                                 396, 550, nullptr, nullptr, nullptr, nullptr);
        effect = new Zelmor(host, [](AudioEffect* owner) { new Editor(owner); });
        record = effect->getAeffect();
    }
    ~HostWindow() {
        request(effEditClose);
        request(effClose);
        DestroyWindow(window);
        UnregisterClassA("ZelmorEditorBenchmarkHost", nullptr);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    intptr_t request(std::int32_t opcode, void* ptr = nullptr) {
        return record->dispatcher(record, opcode, 0, 0, ptr, 0);
    }
    void open() {
        request(effEditOpen, window);
        deliverAll();
    }

    HWND window = nullptr;
    Zelmor* effect = nullptr;
    AEffect* record = nullptr;
};

void EditorOpenToFirstPaint(benchmark::State& state) {
    HostWindow host;
    for (auto _ : state) {
        host.open();
        state.PauseTiming();
        host.request(effEditClose);
        deliverAll();
        state.ResumeTiming();
    }
}
BENCHMARK(EditorOpenToFirstPaint)->Unit(benchmark::kMillisecond);

void EditorIdleWithNothingDirty(benchmark::State& state) {
    HostWindow host;
    host.open();
    for (auto _ : state) {
        host.request(effEditIdle);
    }
}
BENCHMARK(EditorIdleWithNothingDirty)->Unit(benchmark::kMicrosecond);

// A drag's step as the editor makes it: the parameter changes, the slider and its display follow, and
// the idle redraws them into the back buffer and the window.
void EditorDragStep(benchmark::State& state) {
    HostWindow host;
    host.open();
    float value = 0.0f;
    for (auto _ : state) {
        value = value < 1.0f ? value + 1.0f / 209.0f : 0.0f;
        host.record->setParameter(host.record, 0, value);
        host.request(effEditIdle);
    }
}
BENCHMARK(EditorDragStep)->Unit(benchmark::kMicrosecond);

void EditorFullPaint(benchmark::State& state) {
    HostWindow host;
    host.open();
    HWND frame = static_cast<AEffGUIEditor*>(host.effect->getEditor())->getFrame()->getNativeWindow();
    for (auto _ : state) {
        InvalidateRect(frame, nullptr, FALSE);
        UpdateWindow(frame);
    }
}
BENCHMARK(EditorFullPaint)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
