// The Zelmor filter effect: three parameters, 16 programs, Chebyshev filter design and stereo processing.
#pragma once

#include <atomic>
#include <cstdint>

#include "effect/design_fade.h"
#include "effect/design_turn.h"
#include "effect/effect_base.h"
#include "effect/filter_bank.h"
#include "effect/filter_setup.h"
#include "effect/parameter_converter.h"
#include "effect/parameter_table.h"
#include "effect/setup_exchange.h"
#include "effect/zelmor_program.h"

constexpr std::int32_t kNumPrograms = 16;
constexpr std::int32_t kHistoryLength = 40;

// Threads:
// - processReplacing and the three process operations: the host's audio thread only. They read the
//   latest published filter setup and never wait for, allocate or lock anything.
// - setParameter and getParameter: any thread, the audio thread among them; they never wait, lock or
//   make a system call. setParameter leaves its value for whichever thread holds the design turn,
//   and takes the turn itself when it is free.
// - setProgram, setSampleRate, setChunk, getChunk: any thread but the audio thread, several at once;
//   each waits for the design turn (a few microseconds at most).
// - Whoever holds the turn stores values, redesigns and hands a complete setup to the audio thread;
//   the working values and the current program's record therefore always end as the last of the
//   writers left them.
// - resume: any thread; the audio thread clears its histories before its next block.
// - Texts and names: the host's user-interface thread.
// - The editor's requests: the thread that opened the editor (the host's user-interface thread).
class Zelmor : public EffectBase<ZelmorProgram> {
public:
    // What makes the effect's editor, attached as the construction's last step: supplied by the
    // plug-in, which links an editor; none for the effect alone.
    using EditorFactory = void (*)(AudioEffect* effect);

    explicit Zelmor(audioMasterCallback host, EditorFactory makeEditor = nullptr);
    ~Zelmor() override;

    void setSampleRate(float newSampleRate) override;
    void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) override;
    void setParameter(std::int32_t index, float value) override;
    float getParameter(std::int32_t index) override;
    void setProgram(std::int32_t program) override;
    std::int32_t getChunk(void** data, bool isPreset) override;
    std::int32_t setChunk(void* data, std::int32_t byteSize, bool isPreset) override;
    void resume() override;
    void getParameterLabel(std::int32_t index, char* label) override;
    void getParameterDisplay(std::int32_t index, char* text) override;
    void getParameterName(std::int32_t index, char* text) override;
    bool getEffectName(char* name) override;
    bool getProductString(char* text) override;
    std::int32_t getVendorVersion() override;
    std::int32_t getPlugCategory() override;

    virtual void processFilter(float** inputs, float** outputs, std::int32_t sampleFrames, const float* a,
                               const float* b, float* outputHistoryLeft, float* outputHistoryRight,
                               float* inputHistoryLeft, float* inputHistoryRight);
    virtual void processBandPass(float** inputs, float** outputs, std::int32_t sampleFrames);
    virtual void processBandStop(float** inputs, float** outputs, std::int32_t sampleFrames);

    // The mode that a normalised mode value selects; NaN selects band stop.
    static std::int32_t modeOf(float modeValue);

private:
    // Stores a working value and the current program's copy of it. Called holding the design turn.
    void storeValue(std::int32_t index, float value);
    // Stores the values setParameter left; answers whether there were any. Design turn held.
    bool applyLeftWrites();
    // Applies what was left, redesigns, and gives the turn up; takes it again for writes left meanwhile.
    void finishDesignTurn();
    // Loads the current program's record into the working values and redesigns; design turn held.
    void applyCurrentProgram();
    // Tells the editor every working value (it moves its controls at its next idle).
    void notifyEditorOfAllValues();
    // Designs the filters for the working values and publishes them. Called holding the design turn.
    void updateFilters();
    void designLowPass(float fc);
    void designHighPass(float fc);

    std::atomic<float> modeValue{0.0f};
    std::atomic<float> lowerValue{0.05f};
    std::atomic<float> upperValue{0.5f};

    // A value setParameter left for the holder of the design turn: the float's bits above, and kLeft
    // while it waits.
    static constexpr std::uint64_t kLeft = 1;
    std::atomic<std::uint64_t> leftWrites[kNumParams]{};

    // Design inputs and the designer's own copy of the coefficients; the holder of the turn only.
    float fcLower = 0.0f;
    float fcUpper = 0.0f;
    float ripplePercent = 0.5f;
    std::int32_t filterMode = kLowPass;
    std::int32_t numPoles = 2;
    ZelmorConverter converter;
    Coefficients lowPassA{};
    Coefficients lowPassB{};
    Coefficients highPassA{};
    Coefficients highPassB{};

    // Audio thread only. The kernels keep entries 0 and 1 of each history; the others stay zero.
    float lowPassYL[kHistoryLength]{};
    float lowPassYR[kHistoryLength]{};
    float lowPassXL[kHistoryLength]{};
    float lowPassXR[kHistoryLength]{};
    float highPassYL[kHistoryLength]{};
    float highPassYR[kHistoryLength]{};
    float highPassXL[kHistoryLength]{};
    float highPassXR[kHistoryLength]{};
    FilterSetup running;  // the design the histories above belong to
    // running with the histories above: how the audio thread runs, clears and hands them on.
    FilterBank filters{
        running, {{lowPassYL, lowPassYR, lowPassXL, lowPassXR}, {highPassYL, highPassYR, highPassXL, highPassXR}}};
    DesignFade fade;  // towards the next design, while it runs

    // The audio thread's part of a change of design: takes the latest setup and decides how to go over.
    void takeLatestSetup();
    // Set by resume; the audio thread starts its next block from silence.
    std::atomic<bool> startFromSilence{false};

    DesignTurn designTurn;
    SetupExchange published;
};
