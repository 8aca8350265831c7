// The host's floating-point mode survives every kind of call into the plug-in.
#include "host/validate/float_state.h"
#include "host/validate/playback.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

struct Watch {
    int calls = 0;
    std::string firstChange;
    int changes = 0;

    template <typename Call>
    void around(const char* what, Call&& call) {
        const FloatState before = readFloatState();
        call();
        const FloatState after = readFloatState();
        ++calls;
        if (after != before) {
            ++changes;
            if (firstChange.empty()) {
                firstChange = std::string(what) + " changed " + describeChange(before, after);
            }
            writeFloatState(before);
        }
    }
};

Outcome floatMode(Context& context) {
    // The usual host mode: round to nearest, all exceptions masked, subnormals kept.
    FloatState host = readFloatState();
    host.mxcsr &= ~(kFlushToZero | kDenormalsAreZero);
    writeFloatState(host);
    Watch watch;
    std::unique_ptr<HostedEffect> effect;
    watch.around("construction", [&]() {
        std::string error;
        effect = HostedEffect::create(*context.library, error);
    });
    if (!effect) {
        return failed("the plug-in yielded no effect");
    }
    const AEffect& record = *effect->record();
    char text[256];
    void* chunk = nullptr;
    watch.around("effOpen", [&]() { effect->dispatch(effOpen); });
    watch.around("effSetSampleRate", [&]() { effect->setSampleRate(48000.0f); });
    watch.around("effSetBlockSize", [&]() { effect->setBlockSize(256); });
    watch.around("effMainsChanged on", [&]() { effect->resume(); });
    watch.around("effSetProgram", [&]() { effect->dispatch(effSetProgram, 0, record.numPrograms > 1 ? 1 : 0); });
    watch.around("effGetEffectName", [&]() { effect->dispatch(effGetEffectName, 0, 0, text); });
    watch.around("effGetChunk", [&]() { effect->dispatch(effGetChunk, 0, 0, &chunk); });
    for (std::int32_t p = 0; p < record.numParams; ++p) {
        watch.around("setParameter", [&]() { effect->setParameter(p, 0.7f); });
        watch.around("getParameter", [&]() { effect->getParameter(p); });
        watch.around("effGetParamDisplay", [&]() { effect->dispatch(effGetParamDisplay, p, 0, text); });
        watch.around("effGetParamName", [&]() { effect->dispatch(effGetParamName, p, 0, text); });
    }
    Channels inputs = inputsFor(record, 256);
    Channels outputs = outputsFor(record, 256);
    Random noise(context.seed ^ 0x6670ull);
    auto process = [&]() {
        inputs.fillNoise(noise, kNoisePeak);
        effect->processReplacing(inputs.pointers(), outputs.pointers(), 256);
    };
    // The host's mode with flush-to-zero and denormals-are-zero off, then on: both kept as set.
    for (bool flushing : {false, true}) {
        FloatState mode = host;
        mode.mxcsr = flushing ? (mode.mxcsr | kFlushToZero | kDenormalsAreZero)
                              : (mode.mxcsr & ~(kFlushToZero | kDenormalsAreZero));
        writeFloatState(mode);
        for (int b = 0; b < 20; ++b) {
            watch.around(
                flushing ? "processReplacing with flush-to-zero on" : "processReplacing with flush-to-zero off",
                process);
        }
    }
    writeFloatState(host);
    std::string editor = ", no editor";
    if ((record.flags & effFlagsHasEditor) != 0) {
        std::string reason;
        void* rect = nullptr;
        watch.around("effEditGetRect", [&]() { effect->dispatch(effEditGetRect, 0, 0, &rect); });
        auto window = context.makeWindow ? context.makeWindow(400, 600, reason) : nullptr;
        if (window) {
            watch.around("effEditOpen",
                         [&]() { effect->dispatch(effEditOpen, 0, window->openValue(), window->nativeHandle()); });
            watch.around("effEditIdle", [&]() { effect->dispatch(effEditIdle); });
            watch.around("effEditClose", [&]() { effect->dispatch(effEditClose); });
            editor = ", editor opened and closed";
        } else {
            editor = ", editor not opened (" + reason + ")";
        }
    }
    watch.around("effMainsChanged off", [&]() { effect->suspend(); });
    watch.around("effClose", [&]() { effect->close(); });
    writeFloatState(host);
    std::string figures = std::to_string(watch.calls) + " calls watched" + editor +
                          ", flush-to-zero off and on: " + std::to_string(watch.changes) + " changed the mode";
    if (watch.changes > 0) {
        return failed(figures + "; first: " + watch.firstChange);
    }
    return passed(figures);
}

}  // namespace

std::vector<Check> floatModeChecks() {
    return {{"float-mode", floatMode}};
}

}  // namespace validate
