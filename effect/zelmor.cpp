// Construction of the effect, its parameters, program changes and the texts that describe them.
#include "effect/zelmor.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "zelmor_version.h"

namespace {

constexpr std::int32_t kUniqueId = fourCharacters('8', 'o', 'l', '0');
constexpr std::int32_t kVendorVersion = ZELMOR_VENDOR_VERSION;
constexpr const char* kEffectName = "Korvane - Zelmor";

}  // namespace

Zelmor::Zelmor(audioMasterCallback host, EditorFactory makeEditor)
    : EffectBase<ZelmorProgram>(host, kNumPrograms, kNumParams) {
    // The histories start cleared (member initialisers); program 0 then designs the filters.
    setProgram(0);
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(kUniqueId);
    setVersion(ZELMOR_RECORD_VERSION);
    // The editor, which the plug-in supplies, attaches itself (the record then tells the host that
    // there is one); its window opens only when the host asks.
    if (makeEditor != nullptr) {
        makeEditor(this);
    }
    resume();
}

Zelmor::~Zelmor() {
    // Closed while the whole effect still exists: a value display that is being edited reports its
    // text to a complete effect.
    closeEditor();
}

std::int32_t Zelmor::modeOf(float value) {
    return filterModeOf(value);
}

namespace {

std::uint64_t leftWrite(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return (static_cast<std::uint64_t>(bits) << 32) | 1u;
}

float valueOfLeftWrite(std::uint64_t write) {
    const auto bits = static_cast<std::uint32_t>(write >> 32);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

// Hosts automate from their audio thread: the value is left where the holder of the design turn
// finds it, and only a free turn is taken. No wait, no lock, no system call.
void Zelmor::setParameter(std::int32_t index, float value) {
    if (index < 0 || index >= kNumParams) {
        return;
    }
    leftWrites[index].store(leftWrite(value));
    if (designTurn.tryTake()) {
        finishDesignTurn();
    }
    // The editor moves its controls (from another thread, at its next idle).
    showInEditor(index, value);
}

bool Zelmor::applyLeftWrites() {
    bool applied = false;
    for (std::int32_t index = 0; index < kNumParams; ++index) {
        std::uint64_t write = leftWrites[index].load();
        // A newer value left while this one was stored keeps its mark and is stored next round.
        while ((write & kLeft) != 0) {
            storeValue(index, valueOfLeftWrite(write));
            applied = true;
            if (leftWrites[index].compare_exchange_strong(write, write & ~kLeft)) {
                break;
            }
        }
    }
    return applied;
}

// A writer that found the turn taken has left its value before trying; the holder looks for such
// values after giving the turn up, so that no value is left behind with nobody to store it.
void Zelmor::finishDesignTurn() {
    for (;;) {
        if (applyLeftWrites()) {
            updateFilters();
        }
        designTurn.give();
        bool anyLeft = false;
        for (const auto& write : leftWrites) {
            anyLeft = anyLeft || (write.load() & kLeft) != 0;
        }
        if (!anyLeft || !designTurn.tryTake()) {
            return;
        }
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
    if (index < 0 || index >= kNumParams) {
        return 0.0f;
    }
    // A value still waiting for the design turn is already the parameter's value.
    const std::uint64_t write = leftWrites[index].load();
    if ((write & kLeft) != 0) {
        return valueOfLeftWrite(write);
    }
    switch (index) {
        case kLowerCutoff:
            return lowerValue.load(std::memory_order_relaxed);
        case kUpperCutoff:
            return upperValue.load(std::memory_order_relaxed);
        default:
            return modeValue.load(std::memory_order_relaxed);
    }
}

void Zelmor::setProgram(std::int32_t program) {
    designTurn.take();
    // Values set before the change belong to the program they were set in.
    applyLeftWrites();
    curProgram = program;
    applyCurrentProgram();
    finishDesignTurn();
    notifyEditorOfAllValues();
}

// The bank's own memory, with every value set so far stored in it.
std::int32_t Zelmor::getChunk(void** data, bool isPreset) {
    designTurn.take();
    const std::int32_t size = EffectBase<ZelmorProgram>::getChunk(data, isPreset);
    finishDesignTurn();
    return size;
}

// A host restores a project with the chunk alone, often without selecting the program again: what
// the chunk holds for the current program is what plays, shows and is reported from now on.
std::int32_t Zelmor::setChunk(void* data, std::int32_t byteSize, bool isPreset) {
    designTurn.take();
    applyLeftWrites();
    const std::int32_t accepted = EffectBase<ZelmorProgram>::setChunk(data, byteSize, isPreset);
    if (accepted != 0) {
        applyCurrentProgram();
    }
    finishDesignTurn();
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
        showInEditor(index, getParameter(index));
    }
}

void Zelmor::getParameterLabel(std::int32_t index, char* label) {
    if (isCutoff(index)) {
        copyText(label, kParameterTable[index].label, kParameterTextCapacity);
    }
}

void Zelmor::getParameterDisplay(std::int32_t index, char* text) {
    if (index >= 0 && index < kNumParams) {
        parameterDisplayText(index, getParameter(index), text, kParameterTextCapacity);
    }
}

void Zelmor::getParameterName(std::int32_t index, char* text) {
    if (index >= 0 && index < kNumParams) {
        copyText(text, kParameterTable[index].name, kParameterTextCapacity);
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
