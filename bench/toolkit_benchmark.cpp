// Benchmarks of the view toolkit: decoding the editor's images, and drawing a panel's view tree whole
// and one control's rectangle, as a paint and an idle redraw do.
#include <benchmark/benchmark.h>

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/frame.h"

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
            handle = new gui::CView(CRect(left - 3, 336, left + 38, 387));
            handle->setBackground(cap);
            handle->setTransparency(true);
            frame->addView(handle);
        }
        auto* knob = new gui::CView(CRect(215, 330, 270, 550));
        knob->setBackground(strip);
        knob->setTransparency(true);
        frame->addView(knob);
        for (gui::CBitmap* bitmap : {panel, track, cap, strip})
            bitmap->forget();
    }
    ~Panel() { frame->forget(); }
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;
    gui::CFrame* frame;
    gui::CView* handle = nullptr;
};

void DrawPanelTree(benchmark::State& state) {
    Panel panel;
    gui::COffscreenContext* buffer = panel.frame->getBackBuffer();
    for (auto _ : state)
        panel.frame->draw(buffer);
}
BENCHMARK(DrawPanelTree)->Unit(benchmark::kMicrosecond);

void RedrawOneControl(benchmark::State& state) {
    Panel panel;
    gui::COffscreenContext* buffer = panel.frame->getBackBuffer();
    panel.frame->draw(buffer);
    for (auto _ : state) {
        panel.handle->setDirty(true);
        panel.frame->update(buffer);
    }
}
BENCHMARK(RedrawOneControl)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
