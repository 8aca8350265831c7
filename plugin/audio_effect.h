// Base of every effect: the record handed to the host, the basic dispatcher and the first host services.
#pragma once

#include <atomic>
#include <cstdint>

#include "plugin/effect_record.h"

class AEffEditor;

// Threads: construction, destruction and dispatcher requests run on the thread of the host's call
// (normally the user-interface thread); processReplacing runs on the audio thread; setParameter and
// getParameter may be called from any thread.
class AudioEffect {
public:
    AudioEffect(audioMasterCallback host, std::int32_t programCount, std::int32_t parameterCount);
    virtual ~AudioEffect();
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    virtual std::intptr_t dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                     float opt);
    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setSampleRate(float newSampleRate) { sampleRate = newSampleRate; }
    virtual void setBlockSize(std::int32_t newBlockSize) { blockSize = newBlockSize; }
    virtual void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) = 0;
    virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/, std::int32_t /*sampleFrames*/) {}
    virtual void setParameter(std::int32_t /*index*/, float /*value*/) {}
    virtual float getParameter(std::int32_t /*index*/) { return 0.0f; }
    virtual void setParameterAutomated(std::int32_t index, float value);
    virtual std::int32_t getProgram() { return curProgram; }
    virtual void setProgram(std::int32_t program) { curProgram = program; }
    virtual void setProgramName(char* /*name*/) {}
    virtual void getProgramName(char* name) { *name = '\0'; }
    virtual void getParameterLabel(std::int32_t /*index*/, char* label) { *label = '\0'; }
    virtual void getParameterDisplay(std::int32_t /*index*/, char* text) { *text = '\0'; }
    virtual void getParameterName(std::int32_t /*index*/, char* text) { *text = '\0'; }
    virtual std::int32_t getChunk(void** /*data*/, bool /*isPreset*/) { return 0; }
    virtual std::int32_t setChunk(void* /*data*/, std::int32_t /*byteSize*/, bool /*isPreset*/) { return 0; }
    virtual void setUniqueID(std::int32_t id) { cEffect.uniqueID = id; }
    virtual void setVersion(std::int32_t version) { cEffect.version = version; }
    virtual void setNumInputs(std::int32_t inputs) { cEffect.numInputs = inputs; }
    virtual void setNumOutputs(std::int32_t outputs) { cEffect.numOutputs = outputs; }
    virtual void canProcessReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }
    virtual void canDoubleReplacing(bool state) { setFlag(effFlagsCanDoubleReplacing, state); }
    virtual void programsAreChunks(bool state) { setFlag(effFlagsProgramChunks, state); }
    virtual void setInitialDelay(std::int32_t delay) { cEffect.initialDelay = delay; }
    virtual AEffEditor* getEditor() { return editor; }
    virtual AEffect* getAeffect() { return &cEffect; }
    virtual float getSampleRate() { return sampleRate; }
    virtual std::int32_t getBlockSize() { return blockSize; }
    virtual std::int32_t getMasterVersion();
    virtual std::int32_t getCurrentUniqueId();
    virtual void masterIdle();
    virtual void dB2string(float value, char* text, std::int32_t maxLength);
    virtual void Hz2string(float samples, char* text, std::int32_t maxLength);
    virtual void ms2string(float samples, char* text, std::int32_t maxLength);
    virtual void float2string(float value, char* text, std::int32_t maxLength);
    virtual void int2string(std::int32_t value, char* text, std::int32_t maxLength);
    virtual void process(float** /*inputs*/, float** /*outputs*/, std::int32_t /*sampleFrames*/) {}
    virtual float getVu() { return 0.0f; }
    virtual void hasVu(bool state) { setFlag(effFlagsHasVu, state); }
    virtual void hasClip(bool state) { setFlag(effFlagsHasClip, state); }
    virtual void canMono(bool state) { setFlag(effFlagsCanMono, state); }
    virtual void setRealtimeQualities(std::int32_t qualities) { cEffect.realQualities = qualities; }
    virtual void setOfflineQualities(std::int32_t qualities) { cEffect.offQualities = qualities; }
    virtual bool isInputConnected(std::int32_t input);
    virtual bool isOutputConnected(std::int32_t output);

    // Takes ownership of the editor and tells the host through the record whether one exists.
    void setEditor(AEffEditor* newEditor);

    // Bracket a call into the effect that may reach the host (a request, a window procedure of the
    // editor): a host may send effClose from inside any callback, and the effect then goes only when
    // the outermost call leaves. Any thread but the audio thread.
    void enterCall() { callsRunning.fetch_add(1); }
    void leaveCall();
    // effClose: the effect goes now, or, inside a call of its own, closes its editor, stops calling
    // the host and goes when that call leaves.
    void closeAndDestroy();

protected:
    void setFlag(std::int32_t flag, bool state);
    // Tells the editor, if there is one, that a parameter changed (from any thread).
    void showInEditor(std::int32_t index, float value);
    // Closes the editor's window, if there is one; the editor itself stays until the effect goes.
    void closeEditor();
    // One call of the host callback with this effect's record; 0 without a callback.
    std::intptr_t callHost(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0, void* ptr = nullptr,
                           float opt = 0.0f);

    audioMasterCallback audioMaster;
    AEffEditor* editor = nullptr;
    float sampleRate = 44100.0f;
    std::int32_t blockSize = 1024;
    std::int32_t numPrograms;
    std::int32_t numParams;
    std::int32_t curProgram = 0;
    AEffect cEffect;

private:
    std::atomic<int> callsRunning{0};
    std::atomic<bool> closing{false};
};
