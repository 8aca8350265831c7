// Host requests through the dispatch entry: identification, program selection, defaults and safety.
#include "editor/aeff_editor.h"
#include "tests/test_host.h"

using namespace testhost;

TEST(Dispatch, IdentifiesTheEffect) {
    auto effect = makeEffect();
    EXPECT_EQ(effect->dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(effect->dispatch(effGetPlugCategory), 1);
    EXPECT_EQ(effect->dispatch(effGetVendorVersion), 1000);
    EXPECT_EQ(effect->dispatch(effIdentify), 0x4E764566);
    EXPECT_EQ(effect->dispatch(effGetTailSize), 0);
    EXPECT_EQ(effect->dispatch(effCanBeAutomated, 7), 1);
    EXPECT_EQ(effect->text(effGetEffectName), "Korvane - Zelmor");
    EXPECT_EQ(effect->text(effGetProductString), "Korvane - Zelmor");
    EXPECT_EQ(effect->text(effGetVendorString), "Korvane Audio");
    char buffer[64];
    EXPECT_EQ(effect->dispatch(effGetEffectName, 0, 0, buffer), 1);
    EXPECT_EQ(effect->dispatch(effGetVendorString, 0, 0, buffer), 1);
    EXPECT_EQ(effect->dispatch(effGetProductString, 0, 0, buffer), 1);
}

TEST(Dispatch, CanDoAnswersZeroToEverything) {
    auto effect = makeEffect();
    char midi[] = "receiveVstMidiEvent";
    char other[] = "bypass";
    EXPECT_EQ(effect->dispatch(effCanDo, 0, 0, midi), 0);
    EXPECT_EQ(effect->dispatch(effCanDo, 0, 0, other), 0);
    EXPECT_EQ(effect->dispatch(effCanDo), 0);
}

TEST(Dispatch, SetProgramIgnoresNumbersOutsideTheBank) {
    auto effect = makeEffect();
    effect->dispatch(effSetProgram, 0, 5);
    EXPECT_EQ(effect->dispatch(effGetProgram), 5);
    effect->dispatch(effSetProgram, 0, 16);
    effect->dispatch(effSetProgram, 0, -1);
    EXPECT_EQ(effect->dispatch(effGetProgram), 5);
}

TEST(Dispatch, MainsChangedWithAnyNonZeroValueResumesWithoutAskingForMidi) {
    auto effect = makeEffect();
    effect->clearCalls();
    EXPECT_EQ(effect->dispatch(effMainsChanged, 0, 2), 0);
    EXPECT_EQ(effect->dispatch(effMainsChanged, 0, 0), 0);
    EXPECT_TRUE(effect->calls().empty());
}

TEST(Dispatch, EditorRequestsReachTheEditorBeforeAnyOpen) {
    auto effect = makeEffect();
    ERect* rect = nullptr;
    ASSERT_EQ(effect->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 550);
    EXPECT_EQ(rect->right, 396);
    EXPECT_EQ(effect->dispatch(effEditGetRect, 0, 0, nullptr), 0);
    // Closed: idle, close, keys and the wheel change nothing and take nothing.
    EXPECT_EQ(effect->dispatch(effEditClose), 0);
    EXPECT_EQ(effect->dispatch(effEditIdle), 0);
    EXPECT_EQ(effect->dispatch(effEditKeyDown, 'a', 0, nullptr, 2.9f), 0);
    EXPECT_EQ(effect->dispatch(effEditKeyDown, 0, 11), 0);
    EXPECT_EQ(effect->dispatch(effEditKeyUp, 'a'), 0);
    EXPECT_EQ(effect->dispatch(effSetEditKnobMode, 0, 2), 1);
    EXPECT_EQ(effect->dispatch(effSetEditKnobMode, 0, 0), 1);
}

TEST(Dispatch, ConstantAnswers) {
    auto effect = makeEffect();
    EXPECT_EQ(effect->dispatch(effSetTotalSampleToProcess, 0, 1234), 1234);
    EXPECT_EQ(effect->dispatch(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(effect->dispatch(effGetNumProgramCategories), 0);
    EXPECT_EQ(effect->dispatch(effGetParameterProperties, 0), 0);
    EXPECT_EQ(effect->dispatch(effGetInputProperties, 0), 0);
    EXPECT_EQ(effect->dispatch(effGetOutputProperties, 0), 0);
    EXPECT_EQ(effect->dispatch(effKeysRequired), 0);
    EXPECT_EQ(effect->dispatch(effGetVu), 0);
    EXPECT_EQ(effect->dispatch(80), 0);
    EXPECT_EQ(effect->dispatch(-1), 0);
    EXPECT_EQ(effect->dispatch(1000000), 0);
}

TEST(Dispatch, SpeakerArrangementQueryClearsBothPointersAndToleratesNull) {
    auto effect = makeEffect();
    void* input = &input;
    void* output = &output;
    EXPECT_EQ(effect->dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<std::intptr_t>(&input), &output), 0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
    EXPECT_EQ(effect->dispatch(effGetSpeakerArrangement, 0, 0, nullptr), 0);
}

TEST(Dispatch, RequestsWithoutTheirBufferAreIgnored) {
    auto effect = makeEffect();
    for (std::int32_t opcode :
         {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName, effGetChunk,
          effSetChunk, effGetProgramNameIndexed, effGetEffectName, effGetVendorString, effGetProductString}) {
        EXPECT_EQ(effect->dispatch(opcode, 0, 576, nullptr), 0) << "opcode " << opcode;
    }
}

TEST(Dispatch, SampleRateAndBlockSizeRequestsAnswerZero) {
    auto effect = makeEffect();
    EXPECT_EQ(effect->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
    EXPECT_EQ(effect->dispatch(effSetBlockSize, 0, 256), 0);
    EXPECT_EQ(effect->dispatch(effOpen), 0);
}
