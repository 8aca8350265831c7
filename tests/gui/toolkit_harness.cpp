// The toolkit tests' editor, listener and frame fixture.
#include "tests/gui/toolkit_harness.h"

#include <cstdio>

#include "tests/conformance/support.h"

namespace guitest {

void TestEditor::beginEdit(std::int32_t index) {
    *events += "begin " + std::to_string(index) + "; ";
    AEffGUIEditor::beginEdit(index);
}

void TestEditor::endEdit(std::int32_t index) {
    *events += "end " + std::to_string(index) + "; ";
    AEffGUIEditor::endEdit(index);
}

void TestEditor::doIdleStuff() {
    ++idleCalls;
    idle();
    MSG message{};
    if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
    if (script != nullptr) {
        script->stepFromLoop();
    }
}

void RecordingListener::valueChanged(gui::CDrawContext* /*context*/, gui::CControl* control) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(control->getValue()));
    *events += "value " + std::to_string(control->getTag()) + "=" + text;
    // What a display's listener reads: the text as it was when the report came.
    if (control->isTypeOf("CTextEdit")) {
        char typed[gui::kTextBufferSize] = "";
        static_cast<gui::CTextEdit*>(control)->getText(typed);
        *events += std::string(" \"") + typed + "\"";
    }
    *events += "; ";
    values.push_back(control->getValue());
    ++reports;
}

FrameInHost::FrameInHost() {
    host = conformance::openHostWindow(kHostX, kHostY, kHostWidth, kHostHeight);
    input.prepare(host);
    editor.useScript(&input);
    frame = new gui::CFrame(gui::CRect(0, 0, 396, 550), host, &editor);
    editor.useFrame(frame);
    paint();
}

FrameInHost::~FrameInHost() {
    editor.useFrame(nullptr);
    frame->forget();
    conformance::closeHostWindow();
}

void FrameInHost::paint() {
    conformance::pumpMessages();
}

std::vector<std::uint32_t> FrameInHost::pixels() const {
    return conformance::windowPixels(frame->getNativeWindow(), 396, 550);
}

std::uint32_t FrameInHost::pixel(int x, int y) const {
    return pixels()[static_cast<std::size_t>(y * 396 + x)];
}

}  // namespace guitest
