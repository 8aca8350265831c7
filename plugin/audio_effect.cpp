// The record entries, the basic dispatcher (requests 0 to 24) and the base host services.
#include "plugin/audio_effect.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "editor/aeff_editor.h"
#include "platform/interface_lock.h"
#include "plugin/editor_desktop.h"
#include "plugin/text.h"

namespace {

constexpr std::int32_t kPlaceholderUniqueId = fourCharacters('N', 'o', 'E', 'f');

AudioEffect* effectOf(AEffect* record) {
    return static_cast<AudioEffect*>(record->object);
}

// Requests that reach the editor's windows or what all editors share take the interface lock; keys
// do not, since hosts send them from any thread (the editor takes the lock where it uses them).
bool touchesTheInterface(std::int32_t opcode) {
    switch (opcode) {
        case effClose:
        case effEditOpen:
        case effEditClose:
        case effEditDraw:
        case effEditMouse:
        case effEditKey:
        case effEditIdle:
        case effEditTop:
        case effEditSleep:
        case effVendorSpecific:
        case effSetEditKnobMode:
            return true;
        default:
            return false;
    }
}

std::intptr_t dispatchEntry(AEffect* record, std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                            float opt) {
    AudioEffect* effect = effectOf(record);
    const bool locking = touchesTheInterface(opcode);
    if (locking) {
        platform::lockInterface();
    }
    effect->enterCall();
    std::intptr_t result = effect->dispatcher(opcode, index, value, ptr, opt);
    if (opcode == effClose) {
        effect->closeAndDestroy();
        result = 1;
    }
    effect->leaveCall();
    if (locking) {
        platform::unlockInterface();
    }
    return result;
}

void processEntry(AEffect* record, float** inputs, float** outputs, std::int32_t sampleFrames) {
    effectOf(record)->process(inputs, outputs, sampleFrames);
}

void processReplacingEntry(AEffect* record, float** inputs, float** outputs, std::int32_t sampleFrames) {
    effectOf(record)->processReplacing(inputs, outputs, sampleFrames);
}

void processDoubleReplacingEntry(AEffect* record, double** inputs, double** outputs, std::int32_t sampleFrames) {
    effectOf(record)->processDoubleReplacing(inputs, outputs, sampleFrames);
}

void setParameterEntry(AEffect* record, std::int32_t index, float value) {
    effectOf(record)->setParameter(index, value);
}

float getParameterEntry(AEffect* record, std::int32_t index) {
    return effectOf(record)->getParameter(index);
}

std::size_t capacityOf(std::int32_t maxLength) {
    return maxLength > 0 ? static_cast<std::size_t>(maxLength) + 1 : 0;
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback host, std::int32_t programCount, std::int32_t parameterCount)
    : audioMaster(host), numPrograms(programCount), numParams(parameterCount), cEffect() {
    std::memset(&cEffect, 0, sizeof cEffect);
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEntry;
    cEffect.process = processEntry;
    cEffect.setParameter = setParameterEntry;
    cEffect.getParameter = getParameterEntry;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = kPlaceholderUniqueId;
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingEntry;
    cEffect.processDoubleReplacing = processDoubleReplacingEntry;
    canProcessReplacing(true);
}

AudioEffect::~AudioEffect() {
    delete editor;
}

void AudioEffect::leaveCall() {
    if (callsRunning.fetch_sub(1) == 1 && closing.load()) {
        delete this;
    }
}

void AudioEffect::closeAndDestroy() {
    closing.store(true);
    // Inside a call of ours (a gesture's callback), the editor closes now: its loop ends at its next
    // step, and the effect goes when that call leaves.
    if (callsRunning.load() > 1 && editor != nullptr) {
        editor->close();
    }
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
    setFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::showInEditor(std::int32_t index, float value) {
    if (editor != nullptr) {
        editor->setParameter(index, value);
    }
}

void AudioEffect::closeEditor() {
    if (editor != nullptr) {
        editor->close();
    }
}

void AudioEffect::setFlag(std::int32_t flag, bool state) {
    if (state) {
        cEffect.flags |= flag;
    } else {
        cEffect.flags &= ~flag;
    }
}

std::intptr_t AudioEffect::callHost(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                    float opt) {
    // After effClose the host has forgotten this record: whatever a closing gesture still reports stays here.
    if (audioMaster == nullptr || closing.load()) {
        return 0;
    }
    // The host may wait for its other threads here, which may be about to use another editor.
    const platform::InterfaceUnlocked hostRuns;
    return audioMaster(&cEffect, opcode, index, value, ptr, opt);
}

std::intptr_t AudioEffect::dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                      float opt) {
    auto* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effOpen:
            open();
            return 0;
        case effClose:
            close();
            return 0;
        case effSetProgram:
            if (value >= 0 && value < numPrograms) {
                setProgram(static_cast<std::int32_t>(value));
            }
            return 0;
        case effGetProgram:
            return getProgram();
        case effSetProgramName:
            if (text != nullptr) {
                setProgramName(text);
            }
            return 0;
        case effGetProgramName:
            if (text != nullptr) {
                getProgramName(text);
            }
            return 0;
        case effGetParamLabel:
            if (text != nullptr) {
                getParameterLabel(index, text);
            }
            return 0;
        case effGetParamDisplay:
            if (text != nullptr) {
                getParameterDisplay(index, text);
            }
            return 0;
        case effGetParamName:
            if (text != nullptr) {
                getParameterName(index, text);
            }
            return 0;
        case effSetSampleRate:
            setSampleRate(opt);
            return 0;
        case effSetBlockSize:
            setBlockSize(static_cast<std::int32_t>(value));
            return 0;
        case effMainsChanged:
            if (value == 0) {
                suspend();
            } else {
                resume();
            }
            return 0;
        case effEditGetRect:
            return editor != nullptr && ptr != nullptr && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
        case effEditOpen:
            return editor != nullptr && editor_desktop::open(*editor, ptr) ? 1 : 0;
        case effEditClose:
            if (editor != nullptr) {
                editor->close();
            }
            return 0;
        case effEditIdle:
            if (editor != nullptr) {
                editor_desktop::idle(*editor);
            }
            return 0;
        case effIdentify:
            return kEffectIdentify;
        case effGetChunk:
            return ptr != nullptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
        case effSetChunk:
            // A size beyond 32 bits must not wrap around into one that passes the size check.
            if (ptr == nullptr || value < 0 || value > INT32_MAX) {
                return 0;
            }
            return setChunk(ptr, static_cast<std::int32_t>(value), index != 0);
        default:
            return 0;
    }
}

void AudioEffect::setParameterAutomated(std::int32_t index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

std::int32_t AudioEffect::getMasterVersion() {
    if (audioMaster == nullptr) {
        return 1;
    }
    auto version = static_cast<std::int32_t>(callHost(audioMasterVersion));
    return version == 0 ? 1 : version;
}

std::int32_t AudioEffect::getCurrentUniqueId() {
    return static_cast<std::int32_t>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() {
    callHost(audioMasterIdle);
}

bool AudioEffect::isInputConnected(std::int32_t input) {
    return audioMaster == nullptr || callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(std::int32_t output) {
    return audioMaster == nullptr || callHost(audioMasterPinConnected, output, 1) == 0;
}

void AudioEffect::dB2string(float value, char* text, std::int32_t maxLength) {
    char buffer[32];
    if (value <= 0.0f) {
        std::snprintf(buffer, sizeof buffer, "-oo");
    } else {
        std::snprintf(buffer, sizeof buffer, "%.2f", 20.0 * std::log10(static_cast<double>(value)));
    }
    copyText(text, buffer, capacityOf(maxLength));
}

void AudioEffect::Hz2string(float samples, char* text, std::int32_t maxLength) {
    char buffer[32];
    double hertz = samples != 0.0f ? static_cast<double>(sampleRate) / static_cast<double>(samples) : 0.0;
    std::snprintf(buffer, sizeof buffer, "%.2f", hertz);
    copyText(text, buffer, capacityOf(maxLength));
}

void AudioEffect::ms2string(float samples, char* text, std::int32_t maxLength) {
    char buffer[32];
    double milliseconds = static_cast<double>(samples) * 1000.0 / static_cast<double>(sampleRate);
    std::snprintf(buffer, sizeof buffer, "%.2f", milliseconds);
    copyText(text, buffer, capacityOf(maxLength));
}

void AudioEffect::float2string(float value, char* text, std::int32_t maxLength) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(value));
    copyText(text, buffer, capacityOf(maxLength));
}

void AudioEffect::int2string(std::int32_t value, char* text, std::int32_t maxLength) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    copyText(text, buffer, capacityOf(maxLength));
}
