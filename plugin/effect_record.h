// The plug-in interface as hosts see it: the effect record, opcodes, flags, key codes and callbacks.
#pragma once

#include "gui/key_code.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

struct AEffect;

// Every entry uses the platform's plain C calling convention.
using audioMasterCallback = std::intptr_t (*)(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                              std::intptr_t value, void* ptr, float opt);
using AEffectDispatcherProc = std::intptr_t (*)(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                                std::intptr_t value, void* ptr, float opt);
using AEffectProcessProc = void (*)(AEffect* effect, float** inputs, float** outputs, std::int32_t sampleFrames);
using AEffectProcessDoubleProc = void (*)(AEffect* effect, double** inputs, double** outputs,
                                          std::int32_t sampleFrames);
using AEffectSetParameterProc = void (*)(AEffect* effect, std::int32_t index, float value);
using AEffectGetParameterProc = float (*)(AEffect* effect, std::int32_t index);

// Read by the host at fixed offsets: 144 bytes with 4-byte pointers, 192 with 8-byte pointers.
struct AEffect {
    std::int32_t magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    std::int32_t numPrograms;
    std::int32_t numParams;
    std::int32_t numInputs;
    std::int32_t numOutputs;
    std::int32_t flags;
    std::intptr_t resvd1;
    std::intptr_t resvd2;
    std::int32_t initialDelay;
    std::int32_t realQualities;
    std::int32_t offQualities;
    float ioRatio;
    void* object;
    void* user;
    std::int32_t uniqueID;
    std::int32_t version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

// The key code handed to the editor's key operations is the toolkit's own (gui/key_code.h).

// Four characters packed with the first one in the most significant byte.
constexpr std::int32_t fourCharacters(char a, char b, char c, char d) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                     static_cast<std::uint32_t>(static_cast<unsigned char>(d)));
}

constexpr std::int32_t kEffectMagic = fourCharacters('V', 's', 't', 'P');
constexpr std::int32_t kEffectIdentify = fourCharacters('N', 'v', 'E', 'f');

enum VstAEffectFlags : std::int32_t {
    effFlagsHasEditor = 1 << 0,
    effFlagsHasClip = 1 << 1,
    effFlagsHasVu = 1 << 2,
    effFlagsCanMono = 1 << 3,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsExtIsAsync = 1 << 10,
    effFlagsExtHasBuffer = 1 << 11,
    effFlagsCanDoubleReplacing = 1 << 12,
};

// Requests from the host, through the record's dispatch entry.
enum AEffectOpcodes : std::int32_t {
    effOpen = 0,
    effClose,
    effSetProgram,
    effGetProgram,
    effSetProgramName,
    effGetProgramName,
    effGetParamLabel,
    effGetParamDisplay,
    effGetParamName,
    effGetVu,
    effSetSampleRate,
    effSetBlockSize,
    effMainsChanged,
    effEditGetRect,
    effEditOpen,
    effEditClose,
    effEditDraw,
    effEditMouse,
    effEditKey,
    effEditIdle,
    effEditTop,
    effEditSleep,
    effIdentify,
    effGetChunk,
    effSetChunk,
    effProcessEvents,
    effCanBeAutomated,
    effString2Parameter,
    effGetNumProgramCategories,
    effGetProgramNameIndexed,
    effCopyProgram,
    effConnectInput,
    effConnectOutput,
    effGetInputProperties,
    effGetOutputProperties,
    effGetPlugCategory,
    effGetCurrentPosition,
    effGetDestinationBuffer,
    effOfflineNotify,
    effOfflinePrepare,
    effOfflineRun,
    effProcessVarIo,
    effSetSpeakerArrangement,
    effSetBlockSizeAndSampleRate,
    effSetBypass,
    effGetEffectName,
    effGetErrorText,
    effGetVendorString,
    effGetProductString,
    effGetVendorVersion,
    effVendorSpecific,
    effCanDo,
    effGetTailSize,
    effIdle,
    effGetIcon,
    effSetViewPosition,
    effGetParameterProperties,
    effKeysRequired,
    effGetVstVersion,
    effEditKeyDown,
    effEditKeyUp,
    effSetEditKnobMode,
    effGetMidiProgramName,
    effGetCurrentMidiProgram,
    effGetMidiProgramCategory,
    effHasMidiProgramsChanged,
    effGetMidiKeyName,
    effBeginSetProgram,
    effEndSetProgram,
    effGetSpeakerArrangement,
    effShellGetNextPlugin,
    effStartProcess,
    effStopProcess,
    effSetTotalSampleToProcess,
    effSetPanLaw,
    effBeginLoadBank,
    effBeginLoadProgram,
    effSetProcessPrecision,
    effGetNumMidiInputChannels,
    effGetNumMidiOutputChannels,
};
static_assert(effGetNumMidiOutputChannels == 79, "opcode numbering drifted");

// Services asked of the host, through its callback.
enum AudioMasterOpcodes : std::int32_t {
    audioMasterAutomate = 0,
    audioMasterVersion,
    audioMasterCurrentId,
    audioMasterIdle,
    audioMasterPinConnected,
    audioMasterWantMidi = 6,
    audioMasterGetTime,
    audioMasterTempoAt = 10,
    audioMasterGetNumAutomatableParameters,
    audioMasterGetParameterQuantization,
    audioMasterIOChanged,
    audioMasterNeedIdle,
    audioMasterSizeWindow,
    audioMasterGetSampleRate,
    audioMasterGetBlockSize,
    audioMasterGetInputLatency,
    audioMasterGetOutputLatency,
    audioMasterGetPreviousPlug,
    audioMasterGetNextPlug,
    audioMasterWillReplaceOrAccumulate,
    audioMasterGetCurrentProcessLevel,
    audioMasterGetAutomationState,
    audioMasterOfflineStart,
    audioMasterOfflineRead,
    audioMasterOfflineWrite,
    audioMasterOfflineGetCurrentPass,
    audioMasterOfflineGetCurrentMetaPass,
    audioMasterSetOutputSampleRate,
    audioMasterGetOutputSpeakerArrangement,
    audioMasterGetVendorString,
    audioMasterGetProductString,
    audioMasterGetVendorVersion,
    audioMasterVendorSpecific,
    audioMasterCanDo = 37,
    audioMasterGetLanguage,
    audioMasterOpenWindow,
    audioMasterCloseWindow,
    audioMasterGetDirectory,
    audioMasterUpdateDisplay,
    audioMasterBeginEdit,
    audioMasterEndEdit,
    audioMasterOpenFileSelector,
    audioMasterCloseFileSelector,
    audioMasterEditFile,
    audioMasterGetChunkFile,
    audioMasterGetInputSpeakerArrangement,
};
static_assert(audioMasterGetInputSpeakerArrangement == 49, "host opcode numbering drifted");

constexpr std::int32_t kVstVersion = 2400;

// What kind of plug-in the host is loading.
enum VstPlugCategory : std::int32_t {
    kPlugCategUnknown = 0,
    kPlugCategEffect = 1,
    kPlugCategSynth = 2,
};

// Hosts read the record at fixed offsets. The record is modelled for both pointer widths, so
// every build checks both layouts, and the real record must match the model of its own width.
namespace effect_record_layout {
struct alignas(4) Pointer32 {
    std::uint32_t bits;
};
struct alignas(8) Pointer64 {
    std::uint64_t bits;
};

template <typename Pointer>
struct Model {
    std::int32_t magic;
    Pointer dispatcher, process, setParameter, getParameter;
    std::int32_t numPrograms, numParams, numInputs, numOutputs, flags;
    Pointer resvd1, resvd2;
    std::int32_t initialDelay, realQualities, offQualities;
    float ioRatio;
    Pointer object, user;
    std::int32_t uniqueID, version;
    Pointer processReplacing, processDoubleReplacing;
    char future[56];
};

template <typename Record>
constexpr bool hasOffsets(std::size_t process, std::size_t setParameter, std::size_t getParameter,
                          std::size_t numPrograms, std::size_t flags, std::size_t resvd1, std::size_t resvd2,
                          std::size_t initialDelay, std::size_t ioRatio, std::size_t object, std::size_t user,
                          std::size_t uniqueID, std::size_t version, std::size_t processReplacing,
                          std::size_t processDoubleReplacing, std::size_t future) {
    return offsetof(Record, magic) == 0 && offsetof(Record, dispatcher) == process / 2 &&
           offsetof(Record, process) == process && offsetof(Record, setParameter) == setParameter &&
           offsetof(Record, getParameter) == getParameter && offsetof(Record, numPrograms) == numPrograms &&
           offsetof(Record, numParams) == numPrograms + 4 && offsetof(Record, numInputs) == numPrograms + 8 &&
           offsetof(Record, numOutputs) == numPrograms + 12 && offsetof(Record, flags) == flags &&
           offsetof(Record, resvd1) == resvd1 && offsetof(Record, resvd2) == resvd2 &&
           offsetof(Record, initialDelay) == initialDelay && offsetof(Record, realQualities) == initialDelay + 4 &&
           offsetof(Record, offQualities) == initialDelay + 8 && offsetof(Record, ioRatio) == ioRatio &&
           offsetof(Record, object) == object && offsetof(Record, user) == user &&
           offsetof(Record, uniqueID) == uniqueID && offsetof(Record, version) == uniqueID + 4 &&
           offsetof(Record, version) == version && offsetof(Record, processReplacing) == processReplacing &&
           offsetof(Record, processDoubleReplacing) == processDoubleReplacing && offsetof(Record, future) == future;
}

using Model32 = Model<Pointer32>;
using Model64 = Model<Pointer64>;
static_assert(sizeof(Model32) == 144, "record size with 4-byte pointers");
static_assert(hasOffsets<Model32>(8, 12, 16, 20, 36, 40, 44, 48, 60, 64, 68, 72, 76, 80, 84, 88),
              "record offsets with 4-byte pointers");
static_assert(sizeof(Model64) == 192, "record size with 8-byte pointers");
static_assert(hasOffsets<Model64>(16, 24, 32, 40, 56, 64, 72, 80, 92, 96, 104, 112, 116, 120, 128, 136),
              "record offsets with 8-byte pointers");

using NativeModel = std::conditional_t<sizeof(void*) == 4, Model32, Model64>;
static_assert(sizeof(AEffect) == sizeof(NativeModel), "record size of this build");
static_assert(hasOffsets<AEffect>(offsetof(NativeModel, process), offsetof(NativeModel, setParameter),
                                  offsetof(NativeModel, getParameter), offsetof(NativeModel, numPrograms),
                                  offsetof(NativeModel, flags), offsetof(NativeModel, resvd1),
                                  offsetof(NativeModel, resvd2), offsetof(NativeModel, initialDelay),
                                  offsetof(NativeModel, ioRatio), offsetof(NativeModel, object),
                                  offsetof(NativeModel, user), offsetof(NativeModel, uniqueID),
                                  offsetof(NativeModel, version), offsetof(NativeModel, processReplacing),
                                  offsetof(NativeModel, processDoubleReplacing), offsetof(NativeModel, future)),
              "record offsets of this build");
}  // namespace effect_record_layout
