// The extended dispatcher (requests 25 to 79) and the host-service wrappers of the extended effect.
#include "plugin/audio_effect_x.h"

#include <cmath>

#include "editor/aeff_editor.h"

namespace {

constexpr std::int32_t kFirstExtendedOpcode = effProcessEvents;
constexpr std::int32_t kLastExtendedOpcode = effGetNumMidiOutputChannels;
constexpr std::int32_t kMidiEventFilter = 1;

std::intptr_t asResult(bool answer) {
    return answer ? 1 : 0;
}

// The key code of the editor's key requests: the modifier travels in opt, truncated toward zero.
VstKeyCode keyCodeOf(std::int32_t index, std::intptr_t value, float opt) {
    VstKeyCode key{};
    key.character = index;
    key.virt = static_cast<std::uint8_t>(value & 0xFF);
    double modifier = std::isfinite(opt) ? std::trunc(static_cast<double>(opt)) : 0.0;
    key.modifier = static_cast<std::uint8_t>(static_cast<std::int64_t>(std::fmod(modifier, 256.0)) & 0xFF);
    return key;
}

}  // namespace

std::intptr_t AudioEffectX::dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                       float opt) {
    if (opcode < kFirstExtendedOpcode || opcode > kLastExtendedOpcode) {
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
    auto* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effProcessEvents:
            return processEvents(static_cast<VstEvents*>(ptr));
        case effCanBeAutomated:
            return asResult(canParameterBeAutomated(index));
        case effString2Parameter:
            return asResult(string2parameter(index, text));
        case effGetProgramNameIndexed:
            return asResult(text != nullptr && getProgramNameIndexed(static_cast<std::int32_t>(value), index, text));
        case effGetInputProperties:
            return asResult(getInputProperties(index, static_cast<VstPinProperties*>(ptr)));
        case effGetOutputProperties:
            return asResult(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
        case effGetPlugCategory:
            return getPlugCategory();
        case effOfflineNotify:
            return asResult(
                offlineNotify(static_cast<VstAudioFile*>(ptr), static_cast<std::int32_t>(value), index != 0));
        case effOfflinePrepare:
            return asResult(offlinePrepare(static_cast<VstOfflineTask*>(ptr), static_cast<std::int32_t>(value)));
        case effOfflineRun:
            return asResult(offlineRun(static_cast<VstOfflineTask*>(ptr), static_cast<std::int32_t>(value)));
        case effProcessVarIo:
            return asResult(processVariableIo(static_cast<VstVariableIo*>(ptr)));
        case effSetSpeakerArrangement:
            return asResult(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                                  static_cast<VstSpeakerArrangement*>(ptr)));
        case effSetBypass:
            return asResult(setBypass(value != 0));
        case effGetEffectName:
            return asResult(text != nullptr && getEffectName(text));
        case effGetVendorString:
            return asResult(text != nullptr && getVendorString(text));
        case effGetProductString:
            return asResult(text != nullptr && getProductString(text));
        case effGetVendorVersion:
            return getVendorVersion();
        case effVendorSpecific:
            return vendorSpecific(index, value, ptr, opt);
        case effCanDo:
            return text != nullptr ? canDo(text) : 0;
        case effGetTailSize:
            return getGetTailSize();
        case effGetParameterProperties:
            return asResult(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
        case effGetVstVersion:
            return getVstVersion();
        case effEditKeyDown:
            if (editor != nullptr) {
                VstKeyCode key = keyCodeOf(index, value, opt);
                return asResult(editor->onKeyDown(key));
            }
            return 0;
        case effEditKeyUp:
            if (editor != nullptr) {
                VstKeyCode key = keyCodeOf(index, value, opt);
                return asResult(editor->onKeyUp(key));
            }
            return 0;
        case effSetEditKnobMode:
            return editor != nullptr ? asResult(editor->setKnobMode(static_cast<std::int32_t>(value))) : 0;
        case effGetMidiProgramName:
            return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
        case effGetCurrentMidiProgram:
            return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
        case effGetMidiProgramCategory:
            return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
        case effHasMidiProgramsChanged:
            return asResult(hasMidiProgramsChanged(index));
        case effGetMidiKeyName:
            return asResult(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr)));
        case effBeginSetProgram:
            return asResult(beginSetProgram());
        case effEndSetProgram:
            return asResult(endSetProgram());
        case effGetSpeakerArrangement:
            return asResult(getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                                  static_cast<VstSpeakerArrangement**>(ptr)));
        case effShellGetNextPlugin:
            return getNextShellPlugin(text);
        case effStartProcess:
            return startProcess();
        case effStopProcess:
            return stopProcess();
        case effSetTotalSampleToProcess:
            return setTotalSampleToProcess(static_cast<std::int32_t>(value));
        case effSetPanLaw:
            return asResult(setPanLaw(static_cast<std::int32_t>(value), opt));
        case effBeginLoadBank:
            return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
        case effBeginLoadProgram:
            return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
        case effSetProcessPrecision:
            return asResult(setProcessPrecision(static_cast<std::int32_t>(value)));
        default:
            return 0;
    }
}

void AudioEffectX::resume() {
    if ((cEffect.flags & effFlagsIsSynth) != 0 || canDo(const_cast<char*>("receiveVstMidiEvent")) == 1) {
        wantEvents(kMidiEventFilter);
    }
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) {
    // Hosts may pass either pointer as null; nothing is written through a null pointer.
    if (input != nullptr) {
        *input = nullptr;
    }
    if (output != nullptr) {
        *output = nullptr;
    }
    return false;
}

std::int32_t AudioEffectX::getPlugCategory() {
    return (cEffect.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

// Host services. Each makes one call of the callback (none without a callback) and returns the answer.

bool AudioEffectX::beginEdit(std::int32_t index) {
    return callHost(audioMasterBeginEdit, index) != 0;
}
bool AudioEffectX::endEdit(std::int32_t index) {
    return callHost(audioMasterEndEdit, index) != 0;
}
bool AudioEffectX::ioChanged() {
    return callHost(audioMasterIOChanged) != 0;
}

double AudioEffectX::updateSampleRate() {
    std::intptr_t answer = callHost(audioMasterGetSampleRate);
    if (answer > 0) {
        sampleRate = static_cast<float>(answer);
    }
    return static_cast<double>(sampleRate);
}

std::int32_t AudioEffectX::updateBlockSize() {
    std::intptr_t answer = callHost(audioMasterGetBlockSize);
    if (answer > 0) {
        blockSize = static_cast<std::int32_t>(answer);
    }
    return blockSize;
}

std::int32_t AudioEffectX::getInputLatency() {
    return static_cast<std::int32_t>(callHost(audioMasterGetInputLatency));
}
std::int32_t AudioEffectX::getOutputLatency() {
    return static_cast<std::int32_t>(callHost(audioMasterGetOutputLatency));
}
VstTimeInfo* AudioEffectX::getTimeInfo(std::int32_t filter) {
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}
std::int32_t AudioEffectX::getCurrentProcessLevel() {
    return static_cast<std::int32_t>(callHost(audioMasterGetCurrentProcessLevel));
}
std::int32_t AudioEffectX::getAutomationState() {
    return static_cast<std::int32_t>(callHost(audioMasterGetAutomationState));
}
bool AudioEffectX::getHostVendorString(char* text) {
    return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}
bool AudioEffectX::getHostProductString(char* text) {
    return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}
std::int32_t AudioEffectX::getHostVendorVersion() {
    return static_cast<std::int32_t>(callHost(audioMasterGetVendorVersion));
}
std::intptr_t AudioEffectX::hostVendorSpecific(std::int32_t arg1, std::intptr_t arg2, void* ptrArg, float floatArg) {
    return callHost(audioMasterVendorSpecific, arg1, arg2, ptrArg, floatArg);
}
std::int32_t AudioEffectX::canHostDo(char* text) {
    return callHost(audioMasterCanDo, 0, 0, text) != 0 ? 1 : 0;
}
std::int32_t AudioEffectX::getHostLanguage() {
    return static_cast<std::int32_t>(callHost(audioMasterGetLanguage));
}
void* AudioEffectX::getDirectory() {
    return reinterpret_cast<void*>(callHost(audioMasterGetDirectory));
}
bool AudioEffectX::updateDisplay() {
    return callHost(audioMasterUpdateDisplay) != 0;
}
bool AudioEffectX::sizeWindow(std::int32_t width, std::int32_t height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}
bool AudioEffectX::openFileSelector(VstFileSelect* select) {
    return select != nullptr && callHost(audioMasterOpenFileSelector, 0, 0, select) != 0;
}
bool AudioEffectX::closeFileSelector(VstFileSelect* select) {
    return select != nullptr && callHost(audioMasterCloseFileSelector, 0, 0, select) != 0;
}
bool AudioEffectX::getChunkFile(void* nativePath) {
    return nativePath != nullptr && callHost(audioMasterGetChunkFile, 0, 0, nativePath) != 0;
}

// Speaker arrangements are passed through opaquely; this plug-in has fixed stereo I/O and builds none.
bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** /*arrangement*/, std::int32_t /*channels*/) {
    return false;
}
bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** /*arrangement*/) {
    return false;
}
bool AudioEffectX::copySpeaker(VstSpeakerProperties* /*to*/, VstSpeakerProperties* /*from*/) {
    return false;
}
bool AudioEffectX::matchArrangement(VstSpeakerArrangement** /*to*/, VstSpeakerArrangement* /*from*/) {
    return false;
}

bool AudioEffectX::offlineRead(VstOfflineTask* offline, std::int32_t option, bool readSource) {
    return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, offline) != 0;
}
bool AudioEffectX::offlineWrite(VstOfflineTask* offline, std::int32_t option) {
    return callHost(audioMasterOfflineWrite, 0, option, offline) != 0;
}
bool AudioEffectX::offlineStart(VstAudioFile* files, std::int32_t numAudioFiles, std::int32_t numNewAudioFiles) {
    return callHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, files) != 0;
}
std::int32_t AudioEffectX::offlineGetCurrentPass() {
    return static_cast<std::int32_t>(callHost(audioMasterOfflineGetCurrentPass));
}
std::int32_t AudioEffectX::offlineGetCurrentMetaPass() {
    return static_cast<std::int32_t>(callHost(audioMasterOfflineGetCurrentMetaPass));
}
std::int32_t AudioEffectX::wantEvents(std::int32_t filter) {
    return static_cast<std::int32_t>(callHost(audioMasterWantMidi, 0, filter));
}
std::int32_t AudioEffectX::tempoAt(std::int32_t position) {
    return static_cast<std::int32_t>(callHost(audioMasterTempoAt, 0, position));
}
std::int32_t AudioEffectX::getNumAutomatableParameters() {
    return static_cast<std::int32_t>(callHost(audioMasterGetNumAutomatableParameters));
}
std::int32_t AudioEffectX::getParameterQuantization() {
    return static_cast<std::int32_t>(callHost(audioMasterGetParameterQuantization));
}
bool AudioEffectX::needIdle() {
    return callHost(audioMasterNeedIdle) != 0;
}
AEffect* AudioEffectX::getPreviousPlug(std::int32_t input) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug, input));
}
AEffect* AudioEffectX::getNextPlug(std::int32_t output) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug, output));
}
std::int32_t AudioEffectX::willProcessReplacing() {
    return static_cast<std::int32_t>(callHost(audioMasterWillReplaceOrAccumulate));
}
bool AudioEffectX::setOutputSamplerate(float rate) {
    return callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate) != 0;
}
VstSpeakerArrangement* AudioEffectX::getOutputSpeakerArrangement() {
    return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetOutputSpeakerArrangement));
}
VstSpeakerArrangement* AudioEffectX::getInputSpeakerArrangement() {
    return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetInputSpeakerArrangement));
}
void* AudioEffectX::openWindow(VstWindow* window) {
    return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}
bool AudioEffectX::closeWindow(VstWindow* window) {
    return callHost(audioMasterCloseWindow, 0, 0, window) != 0;
}
