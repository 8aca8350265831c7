// Benchmarks of the view toolkit: decoding the editor's images, drawing a panel's view tree, and the
// editor's controls in a real window: an idle with nothing to do, one step of a slider drag, a full paint.
#include <benchmark/benchmark.h>

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/frame.h"
#include "tests/gui/editor_controls.h"

namespace {

using gui::CRect;

void LoadPanelImage(benchmark::State& state) {
    for (auto _ : state) {
        auto* panel = new gui::CBitmap(128);
        benchmark::DoNotOptimize(panel->getHandle());
        panel->forget();
    }
}
BENCHMARK(LoadPanelImage)->Unit(benchmark::kMicrosecond);

// The panel with two slider tracks and caps and the mode switch, drawn into a back buffer.
struct Panel {
    Panel() {
        auto* panel = new gui::CBitmap(128);
        auto* track = new gui::CBitmap(129);
        auto* cap = new gui::CBitmap(130);
        auto* strip = new gui::CBitmap(133);
        frame = new gui::CFrame(CRect(0, 0, 396, 550), nullptr, nullptr);
        frame->setBackground(panel);
        for (const int left : {25, 132}) {
            auto* slot = new gui::CView(CRect(left, 230, left + 38, 491));
            slot->setBackground(track);
            frame->addView(slot);
            auto* handle = new gui::CView(CRect(left - 3, 336, left + 38, 387));
            handle->setBackground(cap);
            handle->setTransparency(true);
            frame->addView(handle);
        }
        auto* knob = new gui::CView(CRect(215, 330, 270, 550));
        knob->setBackground(strip);
        knob->setTransparency(true);
        frame->addView(knob);
        for (gui::CBitmap* bitmap : {panel, track, cap, strip}) {
            bitmap->forget();
        }
    }
    ~Panel() { frame->forget(); }
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;
    gui::CFrame* frame;
};

void DrawPanelTree(benchmark::State& state) {
    Panel panel;
    gui::COffscreenContext* buffer = panel.frame->getBackBuffer();
    for (auto _ : state) {
        panel.frame->draw(buffer);
    }
}
BENCHMARK(DrawPanelTree)->Unit(benchmark::kMicrosecond);

// A host's window with a frame of the editor's controls in it, painted once.
struct EditorWindow {
    EditorWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "ZelmorBenchmarkHost";
        RegisterClassA(&windowClass);
        host = CreateWindowExA(0, "ZelmorBenchmarkHost", "Host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, 396,
                               550, nullptr, nullptr, nullptr, nullptr);
        frame = new gui::CFrame(CRect(0, 0, 396, 550), host, nullptr);
        controls = new guitest::EditorControls(frame, nullptr, 0.25f, 0.75f, 2.0f / 3.0f);
        paint();
        frame->idle();
    }
    ~EditorWindow() {
        delete controls;
        frame->forget();
        DestroyWindow(host);
        UnregisterClassA("ZelmorBenchmarkHost", nullptr);
    }
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;
    void paint() {
        MSG message{};
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }
    HWND host = nullptr;
    gui::CFrame* frame = nullptr;
    guitest::EditorControls* controls = nullptr;
};

void IdleWithNothingDirty(benchmark::State& state) {
    EditorWindow editor;
    for (auto _ : state) {
        editor.frame->idle();
    }
}
BENCHMARK(IdleWithNothingDirty)->Unit(benchmark::kMicrosecond);

// What one step of a drag costs: the value changes, and the idle redraws the slider through its own
// offscreen bitmap into the back buffer and copies the frame to the window.
void SliderStepDuringADrag(benchmark::State& state) {
    EditorWindow editor;
    float value = 0.0f;
    for (auto _ : state) {
        value = value < 1.0f ? value + 1.0f / 209.0f : 0.0f;
        editor.controls->lowerSlider->setValue(value);
        editor.frame->idle();
    }
}
BENCHMARK(SliderStepDuringADrag)->Unit(benchmark::kMicrosecond);

// The whole window painted: every view into the back buffer, then the painted area to the window.
void FullPaint(benchmark::State& state) {
    EditorWindow editor;
    HWND window = editor.frame->getNativeWindow();
    for (auto _ : state) {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    }
}
BENCHMARK(FullPaint)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
