// A small stereo gain plug-in that passes every validator check, unless ZELMOR_FAULT names one fault
// to commit: the validator's own tests run it once per fault and expect that check to fail.
#include <xmmintrin.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "plugin/effect_record.h"

#if defined(__linux__)
#include <dlfcn.h>
#endif

namespace {

enum class Fault {
    none,
    textOverrun,
    unterminated,
    nanOutput,
    subnormalOutput,
    allocates,
    floatMode,
    chunkCrash,
    chunkIgnored,
    sharedState,
    crossed,
    yields,
    jumpSpike,
    needsResume,
    locks,
    hang,
    blockingParameter,
    ringsAfterResume,
    constructRace,
    handlerLeft
};

Fault chosenFault() {
    static const std::pair<const char*, Fault> kNames[] = {{"text-overrun", Fault::textOverrun},
                                                           {"unterminated", Fault::unterminated},
                                                           {"nan-output", Fault::nanOutput},
                                                           {"subnormal-output", Fault::subnormalOutput},
                                                           {"allocates", Fault::allocates},
                                                           {"float-mode", Fault::floatMode},
                                                           {"chunk-crash", Fault::chunkCrash},
                                                           {"chunk-ignored", Fault::chunkIgnored},
                                                           {"shared-state", Fault::sharedState},
                                                           {"crossed", Fault::crossed},
                                                           {"yields", Fault::yields},
                                                           {"jump-spike", Fault::jumpSpike},
                                                           {"needs-resume", Fault::needsResume},
                                                           {"locks", Fault::locks},
                                                           {"hang", Fault::hang},
                                                           {"blocking-parameter", Fault::blockingParameter},
                                                           {"rings-after-resume", Fault::ringsAfterResume},
                                                           {"construct-race", Fault::constructRace},
                                                           {"handler-left", Fault::handlerLeft}};
    const char* name = std::getenv("ZELMOR_FAULT");
    for (const auto& [text, fault] : kNames) {
        if (name != nullptr && std::strcmp(name, text) == 0) {
            return fault;
        }
    }
    return Fault::none;
}

constexpr int kParameters = 2;
constexpr int kChunkBytes = kParameters * static_cast<int>(sizeof(float));
constexpr int kCrashingChunkSize = 777;
constexpr int kHangingChunkSize = 555;
// How long a restored chunk holds the lock that setParameter waits for, with the blocking fault.
constexpr auto kChunkHold = std::chrono::milliseconds(2);

// The state every instance should own, and that the shared-state fault keeps once for all.
struct Settings {
    float values[kParameters] = {0.5f, 0.5f};
};
Settings sharedSettings;

struct Gain;
// Every live instance in one table, which the construct-race fault keeps without a lock: each instance
// knows its place, and a close moves the last one into it. Places start at 1, so that place 0, always
// empty, means none. Volatile keeps each read and write of the count where the code has it, which
// makes neither of them safe beside another thread.
constexpr std::size_t kMostInstances = 4096;
Gain* instanceTable[kMostInstances + 1];
volatile std::size_t instanceCount = 0;

constexpr int kCurvePoints = 4096;

struct Gain {
    AEffect record{};
    Fault fault = chosenFault();
    // With the construct-race fault the count is read as construction begins and written as it ends,
    // once the curve is built: what other threads made and closed meanwhile is undone, two instances
    // get one place or the count passes over emptied ones, and a close then moves an empty place.
    std::size_t place = fault == Fault::constructRace ? instanceCount + 1 : 0;
    std::vector<float> curve;
    Settings own;
    bool resumed = false;
    bool changed = false;  // a parameter moved since the last block
    std::mutex lock;       // what setParameter and effSetChunk share with the blocking fault
    float held[2] = {};    // the last input samples, echoed with the ringing fault
    Settings& settings() { return fault == Fault::sharedState ? sharedSettings : own; }
    float gain() { return 0.25f + 0.5f * settings().values[0]; }

    Gain() {
        if (fault != Fault::constructRace) {
            return;
        }
        curve.resize(kCurvePoints);
        for (int i = 0; i < kCurvePoints; ++i) {
            curve[static_cast<std::size_t>(i)] = std::pow(static_cast<float>(i) / (kCurvePoints - 1), 1.5f);
        }
        // A wait inside the window: even on a machine too busy to run the threads side by side, the
        // others make and close instances meanwhile.
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        instanceTable[place] = this;
        instanceCount = place;
    }
    ~Gain() {
        if (fault != Fault::constructRace) {
            return;
        }
        const std::size_t last = instanceCount;
        Gain* moved = instanceTable[last];
        instanceTable[place] = moved;
        moved->place = place;
        instanceTable[last] = nullptr;
        instanceCount = last - 1;
    }
    Gain(const Gain&) = delete;
    Gain& operator=(const Gain&) = delete;
};

#if defined(__linux__)
// The little of Xlib that the handler-left fault uses, from the library loaded at run time: the plug-in
// does not link it, as a plug-in that only touches X through a toolkit's copy does not.
struct XDisplay;
struct XErrorRecord;
using XErrorHandler = int (*)(XDisplay*, XErrorRecord*);
using XSetErrorHandlerFunction = XErrorHandler (*)(XErrorHandler);

XErrorHandler previousErrorHandler = nullptr;

int passErrorOn(XDisplay* display, XErrorRecord* error) {
    return previousErrorHandler != nullptr ? previousErrorHandler(display, error) : 0;
}

// With the handler-left fault, the first effOpen puts a handler of the plug-in's own before the one
// that was there, and nothing ever puts the previous one back: once the library is unloaded, Xlib
// calls code that is gone for the next X error of the process. Without libX11 there is nothing to do.
void takeErrorHandler() {
    static std::once_flag once;
    std::call_once(once, []() {
        void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        if (x11 == nullptr) {
            return;
        }
        auto setHandler = reinterpret_cast<XSetErrorHandlerFunction>(dlsym(x11, "XSetErrorHandler"));
        if (setHandler != nullptr) {
            previousErrorHandler = setHandler(passErrorOn);
        }
    });
}
#endif

Gain* of(AEffect* effect) {
    return static_cast<Gain*>(effect->object);
}

void copyText(void* destination, const char* text) {
    std::strcpy(static_cast<char*>(destination), text);
}

std::intptr_t dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                       float) {
    Gain* gain = of(effect);
    switch (opcode) {
        case effOpen:
#if defined(__linux__)
            if (gain->fault == Fault::handlerLeft) {
                takeErrorHandler();
            }
#endif
            return 0;
        case effClose:
            delete gain;
            return 1;
        case effGetParamName:
            if (gain->fault == Fault::textOverrun) {
                // Past even the larger buffers that hosts hand out for parameter texts.
                copyText(ptr,
                         "A name much too long for any buffer a host hands out for it: a hundred characters and more.");
            } else {
                copyText(ptr, index == 0 ? "Gain" : "Tone");
            }
            return 0;
        case effGetParamLabel:
            if (gain->fault == Fault::unterminated) {
                std::memset(ptr, 'd', 64);  // the whole of a host's buffer, with no terminator
            } else {
                copyText(ptr, "");
            }
            return 0;
        case effMainsChanged:
            gain->resumed = value != 0;
            if (gain->fault != Fault::ringsAfterResume) {
                gain->held[0] = gain->held[1] = 0.0f;
            }
            return 0;
        case effGetParamDisplay:
            std::snprintf(static_cast<char*>(ptr), 8, "%d", static_cast<int>(gain->settings().values[index] * 100));
            return 0;
        case effGetProgramName:
            copyText(ptr, "Default");
            return 0;
        case effGetProgramNameIndexed:
            if (index != 0) {
                return 0;
            }
            copyText(ptr, "Default");
            return 1;
        case effGetEffectName:
        case effGetProductString:
            copyText(ptr, "Faulty Gain");
            return 1;
        case effGetVendorString:
            copyText(ptr, "Zelmor Tests");
            return 1;
        case effGetChunk:
            *static_cast<void**>(ptr) = gain->settings().values;
            return kChunkBytes;
        case effSetChunk:
            if (gain->fault == Fault::chunkCrash && value == kCrashingChunkSize) {
                // A crash the compiler cannot see coming: the pointer is read at run time.
                volatile int* volatile nowhere = nullptr;
                *nowhere = 0;
            }
            if (gain->fault == Fault::hang && value == kHangingChunkSize) {
                // Told on stderr, so that a test can act once the hang has begun.
                std::fputs("faulty gain: hanging in effSetChunk\n", stderr);
                std::fflush(stderr);
                for (;;) {
                    std::this_thread::sleep_for(std::chrono::seconds(1));
                }
            }
            if (value != kChunkBytes) {
                return 0;
            }
            if (gain->fault == Fault::blockingParameter) {
                std::lock_guard<std::mutex> guard(gain->lock);
                std::this_thread::sleep_for(kChunkHold);
            }
            if (gain->fault == Fault::chunkIgnored) {
                return kChunkBytes;
            }
            for (int p = 0; p < kParameters; ++p) {
                float read = 0.0f;
                std::memcpy(&read, static_cast<const char*>(ptr) + p * 4, sizeof read);
                gain->settings().values[p] = std::isfinite(read) ? std::fmin(std::fmax(read, 0.0f), 1.0f) : 0.0f;
            }
            return kChunkBytes;
        case effGetVstVersion:
            return kVstVersion;
        case effGetPlugCategory:
            return kPlugCategEffect;
        default:
            return 0;
    }
}

void setParameter(AEffect* effect, std::int32_t index, float value) {
    Gain* gain = of(effect);
    if (index < 0 || index >= kParameters) {
        return;
    }
    std::unique_lock<std::mutex> guard(gain->lock, std::defer_lock);
    if (gain->fault == Fault::blockingParameter) {
        guard.lock();
    }
    gain->settings().values[index] = std::isfinite(value) ? std::fmin(std::fmax(value, 0.0f), 1.0f) : 0.0f;
    gain->changed = true;
    if (gain->fault == Fault::floatMode) {
        _mm_setcsr(_mm_getcsr() | 0x8040u);
    }
}

float getParameter(AEffect* effect, std::int32_t index) {
    return index >= 0 && index < kParameters ? of(effect)->settings().values[index] : 0.0f;
}

void processReplacing(AEffect* effect, float** inputs, float** outputs, std::int32_t frames) {
    Gain* gain = of(effect);
    const float factor = gain->gain();
    // Read before any output is written: the buffers may be the same.
    const float last[2] = {frames > 0 ? inputs[0][frames - 1] : 0.0f, frames > 0 ? inputs[1][frames - 1] : 0.0f};
    if (gain->fault == Fault::allocates) {
        // Kept where the compiler must assume someone looks, so the pair is not optimised away.
        static void* volatile scratch = nullptr;
        scratch = std::malloc(static_cast<std::size_t>(frames) * sizeof(float) + 16);
        std::free(scratch);
    }
    if (gain->fault == Fault::yields) {
        std::this_thread::yield();
    }
    if (gain->fault == Fault::locks) {
        static std::mutex everyBlock;
        std::lock_guard<std::mutex> guard(everyBlock);
    }
    if (gain->fault == Fault::crossed) {
        // One channel after the other: fine in place, but with output left on input right the
        // right channel reads what the left one overwrote.
        for (std::int32_t i = 0; i < frames; ++i) {
            outputs[0][i] = factor * inputs[0][i];
        }
        for (std::int32_t i = 0; i < frames; ++i) {
            outputs[1][i] = factor * inputs[1][i];
        }
    } else {
        for (std::int32_t i = 0; i < frames; ++i) {
            const float left = inputs[0][i];
            const float right = inputs[1][i];
            outputs[0][i] = left * factor;
            outputs[1][i] = right * factor;
        }
    }
    if (frames > 0) {
        if (gain->fault == Fault::nanOutput) {
            outputs[0][frames / 2] = std::nanf("");
        }
        if (gain->fault == Fault::subnormalOutput) {
            outputs[1][frames - 1] = 1e-40f;
        }
        if (gain->fault == Fault::jumpSpike && gain->changed) {
            outputs[0][0] *= 8.0f;
        }
        if (gain->fault == Fault::needsResume && !gain->resumed) {
            // As if its state were made on resume only: before that the output is whatever it holds.
            outputs[0][0] = std::numeric_limits<float>::infinity();
        }
    }
    if (gain->fault == Fault::ringsAfterResume && frames > 0) {
        // An echo of the last input sample of the block before, which no resume clears.
        for (int c = 0; c < 2; ++c) {
            outputs[c][0] += 0.5f * gain->held[c];
            gain->held[c] = last[c];
        }
    }
    gain->changed = false;
}

void process(AEffect*, float**, float**, std::int32_t) {}
void processDouble(AEffect*, double**, double**, std::int32_t) {}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    Gain* gain = new (std::nothrow) Gain;
    if (gain == nullptr) {
        return nullptr;
    }
    AEffect& record = gain->record;
    record.magic = kEffectMagic;
    record.dispatcher = dispatch;
    record.process = process;
    record.setParameter = setParameter;
    record.getParameter = getParameter;
    record.numPrograms = 1;
    record.numParams = kParameters;
    record.numInputs = 2;
    record.numOutputs = 2;
    record.flags = effFlagsCanReplacing | effFlagsProgramChunks;
    record.ioRatio = 1.0f;
    record.object = gain;
    record.uniqueID = fourCharacters('F', 'l', 't', 'y');
    record.version = 1;
    record.processReplacing = processReplacing;
    record.processDoubleReplacing = processDouble;
    return &record;
}
