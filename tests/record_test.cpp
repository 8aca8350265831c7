// The entry point and the effect record as a host reads them.
#include <cstring>

#include "tests/test_host.h"

using namespace testhost;

TEST(EntryPoint, RefusesAHostThatAnswersZeroToTheVersionQuery) {
    std::string error;
    auto effect = HostedEffect::create(plugin(), error, [](const HostCall&) -> std::intptr_t { return 0; });
    EXPECT_FALSE(effect);
    EXPECT_EQ(plugin().entry()(nullptr), nullptr);
}

TEST(EntryPoint, AsksOnlyForTheVersionWithANullRecordWhileConstructing) {
    auto effect = makeEffect();
    auto calls = effect->calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].opcode, audioMasterVersion);
    EXPECT_FALSE(calls[0].withRecord);
    EXPECT_EQ(calls[0].index, 0);
    EXPECT_EQ(calls[0].value, 0);
}

TEST(EntryPoint, MainIsTheSameFunction) {
    EXPECT_EQ(plugin().symbol("main"), plugin().symbol("VSTPluginMain"));
}

TEST(EffectRecord, FreshRecordReadsAsTheHostExpects) {
    auto effect = makeEffect();
    const AEffect* record = effect->record();
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->numPrograms, 16);
    EXPECT_EQ(record->numParams, 3);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks);
    EXPECT_EQ(record->flags, 0x31);
    EXPECT_EQ(record->uniqueID, 0x386F6C30);
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->initialDelay, 0);
    EXPECT_EQ(record->realQualities, 0);
    EXPECT_EQ(record->offQualities, 0);
    EXPECT_EQ(record->resvd1, 0);
    EXPECT_EQ(record->resvd2, 0);
    EXPECT_NE(record->object, nullptr);
    EXPECT_NE(record->dispatcher, nullptr);
    EXPECT_NE(record->process, nullptr);
    EXPECT_NE(record->processReplacing, nullptr);
    EXPECT_NE(record->processDoubleReplacing, nullptr);
    char zeros[sizeof record->future] = {};
    EXPECT_EQ(std::memcmp(record->future, zeros, sizeof zeros), 0);
}

TEST(EffectRecord, ParametersStartAtProgramZero) {
    auto effect = makeEffect();
    EXPECT_EQ(effect->getParameter(0), 0.05f);
    EXPECT_EQ(effect->getParameter(1), 0.5f);
    EXPECT_EQ(effect->getParameter(2), 0.0f);
    EXPECT_EQ(effect->getParameter(3), 0.0f);
    EXPECT_EQ(effect->getParameter(-1), 0.0f);
}

TEST(EffectRecord, TwoEffectsAreIndependent) {
    auto first = makeEffect();
    auto second = makeEffect();
    EXPECT_NE(first->record(), second->record());
    EXPECT_NE(first->record()->object, second->record()->object);
    first->setParameter(0, 0.7f);
    EXPECT_EQ(first->getParameter(0), 0.7f);
    EXPECT_EQ(second->getParameter(0), 0.05f);
}

TEST(EffectRecord, CloseAnswersOneAndNoLaterCallsReachTheHost) {
    auto effect = makeEffect();
    effect->clearCalls();
    EXPECT_EQ(effect->close(), 1);
    EXPECT_TRUE(effect->calls().empty());
}

TEST(EffectRecord, AccumulatingAndDoublePrecisionEntriesLeaveBuffersAlone) {
    auto effect = makeEffect();
    Stereo input(8, 0.5f);
    Stereo output(8, 0.25f);
    AEffect* record = effect->record();
    record->process(record, input.channels(), output.channels(), 8);
    std::vector<double> in(8, 0.5);
    std::vector<double> out(8, 0.25);
    double* inputs[2] = {in.data(), in.data()};
    double* outputs[2] = {out.data(), out.data()};
    record->processDoubleReplacing(record, inputs, outputs, 8);
    for (std::size_t n = 0; n < 8; ++n) {
        EXPECT_EQ(output.left[n], 0.25f);
        EXPECT_EQ(out[n], 0.25);
    }
}
