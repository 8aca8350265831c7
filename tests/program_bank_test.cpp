// The bank of 16 programs: names, bank and program chunks, and the exact size checks.
#include <cstring>
#include <string>

#include "tests/test_host.h"

using namespace testhost;

namespace {

struct Record {
    std::uint32_t mode, lower, upper;
    char name[24];
};
static_assert(sizeof(Record) == 36, "test record layout");

std::vector<Record> bank(HostedEffect& effect) {
    void* data = nullptr;
    auto size = effect.dispatch(effGetChunk, 0, 0, &data);
    EXPECT_EQ(size, 576);
    std::vector<Record> records(16);
    std::memcpy(records.data(), data, 576);
    return records;
}

std::string indexedName(HostedEffect& effect, std::int32_t index) {
    char name[64] = {};
    EXPECT_EQ(effect.dispatch(effGetProgramNameIndexed, index, 0, name), 1);
    return name;
}

}  // namespace

TEST(ProgramBank, FreshBankHoldsDefaultsNamedInitOneToSixteen) {
    auto effect = makeEffect();
    auto records = bank(*effect);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(records[static_cast<std::size_t>(i)].mode, 0x00000000u);
        EXPECT_EQ(records[static_cast<std::size_t>(i)].lower, 0x3D4CCCCDu);
        EXPECT_EQ(records[static_cast<std::size_t>(i)].upper, 0x3F000000u);
        EXPECT_STREQ(records[static_cast<std::size_t>(i)].name, ("Init " + std::to_string(i + 1)).c_str());
    }
    EXPECT_EQ(effect->text(effGetProgramName), "Init 1");
}

TEST(ProgramBank, PlainInitNameIsShownWithTheProgramNumber) {
    auto effect = makeEffect();
    effect->dispatch(effSetProgram, 0, 4);
    char init[] = "Init";
    effect->dispatch(effSetProgramName, 0, 0, init);
    EXPECT_EQ(effect->text(effGetProgramName), "Init 5");
    EXPECT_EQ(indexedName(*effect, 4), "Init");
    char lower[] = "init";
    effect->dispatch(effSetProgramName, 0, 0, lower);
    EXPECT_EQ(effect->text(effGetProgramName), "init");
}

TEST(ProgramBank, LongNamesAreCutToTheNameField) {
    auto effect = makeEffect();
    effect->dispatch(effSetProgram, 0, 3);
    std::string longName(100, 'x');
    effect->dispatch(effSetProgramName, 0, 0, longName.data());
    EXPECT_EQ(effect->text(effGetProgramName), std::string(23, 'x'));
    auto records = bank(*effect);
    EXPECT_EQ(records[3].name[23], '\0');
    EXPECT_STREQ(records[4].name, "Init 5");  // the next record is untouched
}

TEST(ProgramBank, IndexedNamesOutsideTheBankAreRefused) {
    auto effect = makeEffect();
    char name[64] = "unchanged";
    EXPECT_EQ(effect->dispatch(effGetProgramNameIndexed, 16, 0, name), 0);
    EXPECT_EQ(effect->dispatch(effGetProgramNameIndexed, -1, 0, name), 0);
    EXPECT_STREQ(name, "unchanged");
    EXPECT_EQ(indexedName(*effect, 15), "Init 16");
}

TEST(ProgramBank, ChunksOfTheWrongSizeAreRefused) {
    auto effect = makeEffect();
    std::vector<char> bytes(600, 0x55);
    for (std::intptr_t size : {575, 577, 0, 36}) {
        EXPECT_EQ(effect->dispatch(effSetChunk, 0, size, bytes.data()), 0);
    }
    for (std::intptr_t size : {35, 37, 576}) {
        EXPECT_EQ(effect->dispatch(effSetChunk, 1, size, bytes.data()), 0);
    }
    if (sizeof(std::intptr_t) > 4) {  // sizes that would wrap to 576 or 36 in 32 bits
        EXPECT_EQ(
            effect->dispatch(effSetChunk, 0, static_cast<std::intptr_t>((std::int64_t{1} << 32) + 576), bytes.data()),
            0);
        EXPECT_EQ(effect->dispatch(effSetChunk, 0, -4294966720LL, bytes.data()), 0);
    }
    EXPECT_STREQ(bank(*effect)[0].name, "Init 1");
}

TEST(ProgramBank, BankChunkRoundTripsProgramByProgram) {
    auto source = makeEffect();
    source->dispatch(effSetProgram, 0, 2);
    source->setParameter(0, 0.3f);
    source->setParameter(2, 0.6f);
    char name[] = "Warm";
    source->dispatch(effSetProgramName, 0, 0, name);
    auto saved = bank(*source);

    auto target = makeEffect();
    EXPECT_EQ(target->dispatch(effSetChunk, 0, 576, saved.data()), 576);
    EXPECT_EQ(target->getParameter(0), 0.05f);  // program 0 is current, and unchanged
    target->dispatch(effSetProgram, 0, 2);
    EXPECT_EQ(target->getParameter(0), 0.3f);
    EXPECT_EQ(target->getParameter(2), 0.6f);
    EXPECT_EQ(target->text(effGetProgramName), "Warm");
    EXPECT_EQ(target->text(effGetParamDisplay, 2), "Band Pass");
}

TEST(ProgramBank, ProgramChunkReplacesOnlyTheCurrentRecordAndPlaysAtOnce) {
    auto effect = makeEffect();
    effect->dispatch(effSetProgram, 0, 7);
    Record record{};
    float values[3] = {0.9f, 0.2f, 0.8f};
    std::memcpy(&record, values, sizeof values);
    std::strcpy(record.name, "Seven");
    EXPECT_EQ(effect->dispatch(effSetChunk, 1, 36, &record), 36);
    EXPECT_EQ(effect->getParameter(0), 0.2f);
    EXPECT_EQ(effect->getParameter(1), 0.8f);
    EXPECT_EQ(effect->getParameter(2), 0.9f);
    EXPECT_EQ(effect->text(effGetParamDisplay, 2), "Band Stop");
    auto records = bank(*effect);
    EXPECT_STREQ(records[7].name, "Seven");
    EXPECT_STREQ(records[6].name, "Init 7");
    EXPECT_STREQ(records[8].name, "Init 9");
}

// A host restores a project with the chunk alone: what plays is what was saved, as after selecting
// the program; a refused chunk leaves values and sound exactly as they were.
TEST(ProgramBank, AcceptedBankChunksPlayAtOnceAndRefusedOnesChangeNothing) {
    auto source = makeEffect();
    source->setParameter(0, normalisedCutoff(200.0));
    source->setParameter(2, 0.3f);
    auto saved = bank(*source);

    auto restored = makeEffect();
    ASSERT_EQ(restored->dispatch(effSetChunk, 0, 576, saved.data()), 576);
    EXPECT_EQ(restored->getParameter(0), normalisedCutoff(200.0));
    EXPECT_EQ(restored->text(effGetParamDisplay, 0), "200 Hz");
    EXPECT_EQ(restored->text(effGetParamDisplay, 2), "High Pass");
    Stereo input = sine(100.0, 44100.0, 4096);
    Stereo expected = process(*source, input, 512);
    EXPECT_EQ(process(*restored, input, 512).left, expected.left);

    auto untouched = makeEffect();
    auto refusing = makeEffect();
    std::vector<char> tooShort(575, 0);
    EXPECT_EQ(refusing->dispatch(effSetChunk, 0, 575, tooShort.data()), 0);
    EXPECT_EQ(refusing->dispatch(effSetChunk, 1, 35, tooShort.data()), 0);
    for (std::int32_t index = 0; index < 3; ++index) {
        EXPECT_EQ(refusing->getParameter(index), untouched->getParameter(index));
    }
    EXPECT_EQ(process(*refusing, input, 512).left, process(*untouched, input, 512).left);
}

TEST(ProgramBank, ProgramChunkIsLiveMemoryOfTheCurrentRecord) {
    auto effect = makeEffect();
    void* data = nullptr;
    EXPECT_EQ(effect->dispatch(effGetChunk, 1, 0, &data), 36);
    effect->setParameter(0, 0.3f);
    float lower = 0.0f;
    std::memcpy(&lower, static_cast<char*>(data) + 4, sizeof lower);
    EXPECT_EQ(lower, 0.3f);
}

TEST(ProgramBank, ChunkNamesWithoutTerminatorStayInsideTheirField) {
    auto effect = makeEffect();
    std::vector<Record> records(16);
    std::memset(records.data(), 'A', 576);
    EXPECT_EQ(effect->dispatch(effSetChunk, 0, 576, records.data()), 576);
    EXPECT_EQ(effect->text(effGetProgramName), std::string(23, 'A'));
    EXPECT_EQ(indexedName(*effect, 15), std::string(23, 'A'));
    // Garbage values reach the parameters unchanged and still give finite audio.
    effect->dispatch(effSetProgram, 0, 3);
    Stereo input = sine(440.0, 44100.0, 2048);
    Stereo output = process(*effect, input, 512);
    for (float sample : output.left) {
        ASSERT_TRUE(std::isfinite(sample));
    }
}
