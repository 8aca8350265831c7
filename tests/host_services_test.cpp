// Services the effect asks of the host, made directly on the effect class (no host entry reaches them).
#include <gtest/gtest.h>

#include <vector>

#include "effect/zelmor.h"

namespace {

struct Call {
    std::int32_t opcode, index;
    std::intptr_t value;
    float opt;
    AEffect* record;
};
std::vector<Call> calls;
Zelmor* observed = nullptr;
float upperSeenByHost = -1.0f;
std::intptr_t canDoAnswer = 0;
std::intptr_t versionAnswer = 2400;

std::intptr_t recordingHost(AEffect* record, std::int32_t opcode, std::int32_t index, std::intptr_t value,
                            void* /*ptr*/, float opt) {
    calls.push_back({opcode, index, value, opt, record});
    if (opcode == audioMasterAutomate && observed != nullptr) {
        upperSeenByHost = observed->getParameter(1);
    }
    if (opcode == audioMasterVersion) {
        return versionAnswer;
    }
    return opcode == audioMasterCanDo ? canDoAnswer : 0;
}

class HostServices : public ::testing::Test {
protected:
    void SetUp() override {
        versionAnswer = 2400;
        calls.clear();
        effect = std::make_unique<Zelmor>(recordingHost);
        observed = effect.get();
        calls.clear();
    }
    void TearDown() override {
        observed = nullptr;
        versionAnswer = 2400;
    }
    std::unique_ptr<Zelmor> effect;
};

}  // namespace

TEST_F(HostServices, AutomationStoresTheValueBeforeTellingTheHost) {
    effect->setParameterAutomated(1, 0.25f);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(calls[0].index, 1);
    EXPECT_EQ(calls[0].opt, 0.25f);
    EXPECT_EQ(calls[0].record, effect->getAeffect());
    EXPECT_EQ(upperSeenByHost, 0.25f);
}

TEST_F(HostServices, EditGesturesIdleAndWindowSize) {
    effect->beginEdit(2);
    effect->endEdit(2);
    effect->masterIdle();
    effect->sizeWindow(396, 550);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(calls[0].index, 2);
    EXPECT_EQ(calls[1].opcode, audioMasterEndEdit);
    EXPECT_EQ(calls[2].opcode, audioMasterIdle);
    EXPECT_EQ(calls[3].opcode, audioMasterSizeWindow);
    EXPECT_EQ(calls[3].index, 396);
    EXPECT_EQ(calls[3].value, 550);
}

TEST_F(HostServices, AnswersAreNormalisedAndVersionZeroReadsAsOne) {
    char sizeWindow[] = "sizeWindow";
    canDoAnswer = 7;
    EXPECT_EQ(effect->canHostDo(sizeWindow), 1);
    canDoAnswer = 0;
    EXPECT_EQ(effect->canHostDo(sizeWindow), 0);
    EXPECT_FALSE(effect->sizeWindow(10, 10));
    EXPECT_EQ(effect->getMasterVersion(), 2400);
    EXPECT_TRUE(effect->isInputConnected(0));
    // A host that does not know the version query answers 0: the effect reads that as version 1.
    // (The entry point refuses such a host, EntryPoint.RefusesAHostThatAnswersZeroToTheVersionQuery;
    // an effect made by a host of its own may still meet one.)
    versionAnswer = 0;
    calls.clear();
    EXPECT_EQ(effect->getMasterVersion(), 1);
    ASSERT_EQ(calls.size(), 1u) << "the host was asked";
    EXPECT_EQ(calls[0].opcode, audioMasterVersion);
    versionAnswer = 2300;
    EXPECT_EQ(effect->getMasterVersion(), 2300) << "any other answer as it is";
}

TEST(HostServicesWithoutHost, WrappersMakeNoCallAndAnswerTheirDefaults) {
    // An effect made without a callback must still work: every service answers its default.
    Zelmor effect(nullptr);
    EXPECT_EQ(effect.getMasterVersion(), 1);
    EXPECT_TRUE(effect.isInputConnected(0));
    EXPECT_TRUE(effect.isOutputConnected(1));
    EXPECT_FALSE(effect.beginEdit(0));
    EXPECT_EQ(effect.updateBlockSize(), 1024);
    EXPECT_EQ(effect.updateSampleRate(), 44100.0);
    effect.setParameterAutomated(0, 0.5f);
    EXPECT_EQ(effect.getParameter(0), 0.5f);
}
