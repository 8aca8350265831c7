// The three parameters: storage, program changes, names, labels and display texts.
#include <climits>
#include <cstring>

#include "tests/test_host.h"

using namespace testhost;

TEST(Parameters, FreshEffectDescribesItsParameters) {
    auto effect = makeEffect();
    EXPECT_EQ(effect->text(effGetParamDisplay, 0), "291 Hz");
    EXPECT_EQ(effect->text(effGetParamDisplay, 1), "4820 Hz");
    EXPECT_EQ(effect->text(effGetParamDisplay, 2), "Low Pass");
    EXPECT_EQ(effect->text(effGetParamLabel, 0), "Hz");
    EXPECT_EQ(effect->text(effGetParamLabel, 1), "Hz");
    EXPECT_EQ(effect->text(effGetParamLabel, 2), "");
    EXPECT_EQ(effect->text(effGetParamName, 0), "Lower Cut-off Frequency");
    EXPECT_EQ(effect->text(effGetParamName, 1), "Upper Cut-off Frequency");
    EXPECT_EQ(effect->text(effGetParamName, 2), "Filter Mode");
}

TEST(Parameters, TextsForOtherIndicesLeaveTheBufferAlone) {
    auto effect = makeEffect();
    for (std::int32_t opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
        char text[32] = "unchanged";
        effect->dispatch(opcode, 3, 0, text);
        EXPECT_STREQ(text, "unchanged");
    }
}

TEST(Parameters, ModeThresholds) {
    auto effect = makeEffect();
    const std::pair<float, const char*> cases[] = {
        {0.2499999f, "Low Pass"}, {0.25f, "High Pass"}, {0.4999f, "High Pass"},
        {0.5f, "Band Pass"},      {0.75f, "Band Stop"}, {1.0f, "Band Stop"},
        {-3.0f, "Low Pass"},      {7.0f, "Band Stop"},  {std::nanf(""), "Band Stop"}};
    for (const auto& [value, name] : cases) {
        effect->setParameter(2, value);
        EXPECT_EQ(effect->text(effGetParamDisplay, 2), name) << value;
    }
}

TEST(Parameters, CutOffDisplaysFollowTheCurve) {
    auto effect = makeEffect();
    const std::pair<float, const char*> cases[] = {
        {0.0f, "20 Hz"},    {0.25f, "1748 Hz"}, {0.75f, "10284 Hz"},      {1.0f, "20000 Hz"},
        {-0.1f, "-436 Hz"}, {1.1f, "25748 Hz"}, {0.15879703f, "1000 Hz"},
    };
    for (const auto& [value, text] : cases) {
        effect->setParameter(0, value);
        EXPECT_EQ(effect->text(effGetParamDisplay, 0), text) << value;
        EXPECT_EQ(effect->getParameter(0), value) << "stored unclamped";
    }
}

TEST(Parameters, DisplaysOfAbsurdValuesStayWithinTheirBuffer) {
    auto effect = makeEffect();
    effect->setParameter(0, 1e30f);
    EXPECT_EQ(effect->text(effGetParamDisplay, 0), std::to_string(INT_MAX) + " Hz");
    effect->setParameter(0, std::nanf(""));
    EXPECT_EQ(effect->text(effGetParamDisplay, 0), "0 Hz");
    effect->setParameter(1, -1e30f);
    EXPECT_EQ(effect->text(effGetParamDisplay, 1), "-2199 Hz") << "the curve's lower bound";
}

TEST(Parameters, SetParameterWritesTheCurrentProgramRecordOnly) {
    auto effect = makeEffect();
    effect->dispatch(effSetProgram, 0, 5);
    effect->setParameter(1, 0.3f);
    void* data = nullptr;
    ASSERT_EQ(effect->dispatch(effGetChunk, 0, 0, &data), 576);
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (int program = 0; program < 16; ++program) {
        float upper = 0.0f;
        std::memcpy(&upper, bytes + program * 36 + 8, sizeof upper);
        EXPECT_EQ(upper, program == 5 ? 0.3f : 0.5f) << program;
    }
}

TEST(Parameters, ProgramChangeLoadsAllThreeValues) {
    auto effect = makeEffect();
    effect->dispatch(effSetProgram, 0, 3);
    effect->setParameter(0, 0.1f);
    effect->setParameter(1, 0.9f);
    effect->setParameter(2, 0.3f);
    effect->dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(effect->getParameter(0), 0.05f);
    effect->dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(effect->getParameter(0), 0.1f);
    EXPECT_EQ(effect->getParameter(1), 0.9f);
    EXPECT_EQ(effect->getParameter(2), 0.3f);
    EXPECT_EQ(effect->text(effGetParamDisplay, 2), "High Pass");
}

TEST(Parameters, AutomationFromTheHostMakesNoCallback) {
    auto effect = makeEffect();
    effect->clearCalls();
    effect->setParameter(0, 0.4f);
    effect->setParameter(7, 0.4f);
    EXPECT_TRUE(effect->calls().empty());
}
