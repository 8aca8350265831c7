// Construction of the effect, its parameters, program changes and the texts that describe them.
#include "effect/zelmor.h"

#include "editor/editor.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr std::int32_t kUniqueId = fourCharacters('8', 'o', 'l', '0');
constexpr std::int32_t kVendorVersion = 1000;
constexpr const char* kEffectName = "Korvane - Zelmor";
constexpr const char* kParameterNames[kNumParams] = {"Lower Cut-off Frequency", "Upper Cut-off Frequency",
                                                     "Filter Mode"};
constexpr const char* kModeNames[] = {"Low Pass", "High Pass", "Band Pass", "Band Stop"};

}  // namespace

Zelmor::Zelmor(audioMasterCallback host) : EffectBase<ZelmorProgram>(host, kNumPrograms, kNumParams) {
    // The histories start cleared (member initialisers); program 0 then designs the filters.
    setProgram(0);
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(kUniqueId);
    // The editor attaches itself (the record then tells the host that there is one); its window opens
    // only when the host asks.
    new Editor(this);
    resume();
}

Zelmor::~Zelmor() {
    // Closed while the whole effect still exists: a value display that is being edited reports its
    // text to a complete effect.
    if (editor != nullptr) {
        editor->close();
    }
}

std::int32_t Zelmor::modeOf(float value) {
    if (value < 0.25f) {
        return kLowPass;
    }
    if (value < 0.5f) {
        return kHighPass;
    }
    if (value < 0.75f) {
        return kBandPass;
    }
    return kBandStop;
}

void Zelmor::setParameter(std::int32_t index, float value) {
    {
        std::lock_guard<std::mutex> lock(designLock);
        storeValue(index, value);
        updateFilters();
    }
    // The editor moves its controls (from another thread, at its next idle).
    if (editor != nullptr) {
        static_cast<AEffGUIEditor*>(editor)->setParameter(index, value);
    }
}

void Zelmor::storeValue(std::int32_t index, float value) {
    ZelmorProgram& program = programs[curProgram];
    switch (index) {
        case kLowerCutoff:
            program.lower = value;
            lowerValue.store(value, std::memory_order_relaxed);
            break;
        case kUpperCutoff:
            program.upper = value;
            upperValue.store(value, std::memory_order_relaxed);
            break;
        case kFilterMode:
            program.mode = value;
            modeValue.store(value, std::memory_order_relaxed);
            break;
        default:
            break;
    }
}

float Zelmor::getParameter(std::int32_t index) {
    switch (index) {
        case kLowerCutoff:
            return lowerValue.load(std::memory_order_relaxed);
        case kUpperCutoff:
            return upperValue.load(std::memory_order_relaxed);
        case kFilterMode:
            return modeValue.load(std::memory_order_relaxed);
        default:
            return 0.0f;
    }
}

void Zelmor::setProgram(std::int32_t program) {
    {
        std::lock_guard<std::mutex> lock(designLock);
        curProgram = program;
        applyCurrentProgram();
    }
    notifyEditorOfAllValues();
}

// A host restores a project with the chunk alone, often without selecting the program again: what
// the chunk holds for the current program is what plays, shows and is reported from now on.
std::int32_t Zelmor::setChunk(void* data, std::int32_t byteSize, bool isPreset) {
    std::int32_t accepted = 0;
    {
        std::lock_guard<std::mutex> lock(designLock);
        accepted = EffectBase<ZelmorProgram>::setChunk(data, byteSize, isPreset);
        if (accepted != 0) {
            applyCurrentProgram();
        }
    }
    if (accepted != 0) {
        notifyEditorOfAllValues();
    }
    return accepted;
}

// Stored in the order lower, upper, mode, each value as the record holds it.
void Zelmor::applyCurrentProgram() {
    const ZelmorProgram record = programs[curProgram];
    storeValue(kLowerCutoff, record.lower);
    storeValue(kUpperCutoff, record.upper);
    storeValue(kFilterMode, record.mode);
    updateFilters();
}

void Zelmor::notifyEditorOfAllValues() {
    if (editor == nullptr) {
        return;
    }
    for (std::int32_t index : {kLowerCutoff, kUpperCutoff, kFilterMode}) {
        static_cast<AEffGUIEditor*>(editor)->setParameter(index, getParameter(index));
    }
}

void Zelmor::getParameterLabel(std::int32_t index, char* label) {
    if (index == kLowerCutoff || index == kUpperCutoff) {
        copyText(label, "Hz", kParameterTextCapacity);
    }
}

void Zelmor::getParameterDisplay(std::int32_t index, char* text) {
    if (index == kLowerCutoff || index == kUpperCutoff) {
        ZelmorConverter displayConverter;
        int hertz = wholeHertz(displayConverter.convert(index, getParameter(index)));
        std::snprintf(text, kParameterTextCapacity, "%d Hz", hertz);
    } else if (index == kFilterMode) {
        copyText(text, kModeNames[modeOf(modeValue.load(std::memory_order_relaxed))], kParameterTextCapacity);
    }
}

void Zelmor::getParameterName(std::int32_t index, char* text) {
    if (index >= 0 && index < kNumParams) {
        copyText(text, kParameterNames[index], kParameterTextCapacity);
    }
}

bool Zelmor::getEffectName(char* name) {
    copyText(name, kEffectName, kIdentityTextCapacity);
    return true;
}

bool Zelmor::getProductString(char* text) {
    copyText(text, kEffectName, kIdentityTextCapacity);
    return true;
}

std::int32_t Zelmor::getVendorVersion() {
    return kVendorVersion;
}

std::int32_t Zelmor::getPlugCategory() {
    return kPlugCategEffect;
}
