// Fuzzes what becomes of text typed into the editor's value displays, and of text the host converts with
// effString2Parameter.
//
// Input: one byte choosing the display (bit 0: lower or upper cut-off) and the parameter effString2Parameter
// gets (bits 1 and 2), then the text. Only parameters change here, and each input sets its parameter to a
// marker first, so one effect serves every input.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/editor.h"
#include "gui/text_edit.h"
#include "plugin/audio_effect.h"
#include "tests/fuzz/fuzz_host.h"

namespace {

// The tags the editor gives the displays of parameters 0 and 1.
constexpr std::int32_t kFirstDisplayTag = 3;
// Outside 0..1, where nothing typed may lead: still there afterwards means the text was refused.
constexpr float kMarker = -0.5f;
constexpr float kLowestHertz = 20.0f;
constexpr float kHighestHertz = 20000.0f;

[[noreturn]] void fail(const char* what, std::int32_t index, const std::string& text, float value) {
    std::fprintf(stderr, "%s: parameter %d is %g after \"%s\"\n", what, index, static_cast<double>(value),
                 text.c_str());
    std::abort();
}

// The hertz the effect shows for a parameter, read back through the record.
float shownHertz(AEffect* effect, std::int32_t index) {
    char display[256] = "";
    fuzzhost::dispatch(effect, effGetParamDisplay, index, 0, display);
    return std::strtof(display, nullptr);
}

void typeIntoDisplay(AEffect* effect, std::int32_t index, const std::string& text) {
    auto* editor = static_cast<Editor*>(static_cast<AudioEffect*>(effect->object)->getEditor());
    effect->setParameter(effect, index, kMarker);
    auto* display = new gui::CTextEdit(gui::CRect(0, 0, 60, 20), editor, kFirstDisplayTag + index, text.c_str());
    editor->valueChanged(nullptr, display);
    display->forget();

    const float value = effect->getParameter(effect, index);
    if (value == kMarker) {
        return;  // refused
    }
    if (!std::isfinite(value) || value < 0.0f || value > 1.0f) {
        fail("typed text left a value outside 0..1", index, text, value);
    }
    // What the display then shows is the typed frequency kept inside the range. (The display keeps 255
    // characters, as the text edit does.)
    const std::string kept = text.substr(0, gui::kTextBufferSize - 1);
    const float typed = std::strtof(kept.c_str(), nullptr);
    const float expected = std::fmin(std::fmax(typed, kLowestHertz), kHighestHertz);
    const float shown = shownHertz(effect, index);
    if (std::fabs(shown - expected) > 1.0f + expected * 0.001f) {
        fail("the display shows another frequency than the one typed", index, text, shown);
    }
}

void convertThroughHost(AEffect* effect, std::int32_t index, const std::string& text) {
    if (index < 3) {
        effect->setParameter(effect, index, kMarker);
    }
    std::string buffer = text;
    const std::intptr_t answer = fuzzhost::dispatch(effect, effString2Parameter, index, 0, buffer.data());
    if (answer != 0 && answer != 1) {
        fail("effString2Parameter answered neither 0 nor 1", index, text, static_cast<float>(answer));
    }
    if (index >= 3) {
        return;
    }
    const float value = effect->getParameter(effect, index);
    if (value != kMarker && (!std::isfinite(value) || value < 0.0f || value > 1.0f)) {
        fail("effString2Parameter left a value outside 0..1", index, text, value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static AEffect* const effect = fuzzhost::openEffect();
    if (size == 0) {
        return 0;
    }
    const std::uint8_t settings = data[0];
    // Text ends at its first zero, as it does in the edit box and in the host's buffer.
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    text = text.c_str();
    typeIntoDisplay(effect, settings & 1, text);
    convertThroughHost(effect, (settings >> 1) & 3, text);
    return 0;
}
