#include "engine/SampleConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace sonavel {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kUntouched = 0xEE;

Bytes ConvertOne(const SampleTypeRow& row, uint32_t word)
{
    std::array<uint8_t, 40> target;
    target.fill(kUntouched);
    const uint32_t written = row.convert(target.data(), word);
    EXPECT_EQ(written, row.bytes);
    EXPECT_EQ(target[written], kUntouched) << "wrote past its sample";
    return Bytes(target.begin(), target.begin() + written);
}

TEST(SampleConversionTest, TableHoldsTheTwentyOneTypesWithTheirSizes)
{
    struct Expected {
        int32_t type;
        uint32_t bits;
        uint32_t bytes;
    };
    const std::vector<Expected> expected{
        {0, 16, 2},  {1, 24, 3},  {2, 32, 4},  {3, 32, 4},  {4, 64, 8},  {8, 32, 4},  {9, 32, 4},
        {10, 32, 4}, {11, 32, 4}, {16, 16, 2}, {17, 24, 3}, {18, 32, 4}, {19, 32, 4}, {20, 64, 8},
        {24, 32, 4}, {25, 32, 4}, {26, 32, 4}, {27, 32, 4}, {32, 1, 4},  {33, 1, 4},  {40, 8, 32},
    };
    ASSERT_EQ(SampleTypeRows().size(), expected.size());
    for (const Expected& row : expected) {
        const SampleTypeRow* found = FindSampleTypeRow(row.type);
        ASSERT_NE(found, nullptr) << "type " << row.type;
        EXPECT_EQ(found->type, row.type);
        EXPECT_EQ(found->bits, row.bits) << "type " << row.type;
        EXPECT_EQ(found->bytes, row.bytes) << "type " << row.type;
    }
    for (int32_t missing : {-1, 5, 6, 7, 12, 15, 21, 23, 28, 31, 34, 39, 41, 1000}) {
        EXPECT_EQ(FindSampleTypeRow(missing), nullptr) << "type " << missing;
    }
}

// Big-endian expectations; the little-endian twin of each type writes the same value with its
// bytes reversed.
struct PcmCase {
    AsioSampleType msbType;
    AsioSampleType lsbType;
    uint32_t word;
    Bytes msbBytes;
};

TEST(SampleConversionTest, PcmRowsWriteExactValuesInBothByteOrders)
{
    const std::vector<PcmCase> cases{
        // High bits kept, low bits dropped without rounding.
        {ASIOSTInt16MSB, ASIOSTInt16LSB, 0x7FFFFFFF, {0x7F, 0xFF}},
        {ASIOSTInt16MSB, ASIOSTInt16LSB, 0x80000000, {0x80, 0x00}},
        {ASIOSTInt16MSB, ASIOSTInt16LSB, 0xFFFFFFFF, {0xFF, 0xFF}},
        {ASIOSTInt16MSB, ASIOSTInt16LSB, 0x1234FFFF, {0x12, 0x34}},
        {ASIOSTInt24MSB, ASIOSTInt24LSB, 0x7FFFFFFF, {0x7F, 0xFF, 0xFF}},
        {ASIOSTInt24MSB, ASIOSTInt24LSB, 0x80000000, {0x80, 0x00, 0x00}},
        {ASIOSTInt24MSB, ASIOSTInt24LSB, 0xFFFFFFFF, {0xFF, 0xFF, 0xFF}},
        {ASIOSTInt24MSB, ASIOSTInt24LSB, 0x123456FF, {0x12, 0x34, 0x56}},
        {ASIOSTInt32MSB, ASIOSTInt32LSB, 0x7FFFFFFF, {0x7F, 0xFF, 0xFF, 0xFF}},
        {ASIOSTInt32MSB, ASIOSTInt32LSB, 0x80000000, {0x80, 0x00, 0x00, 0x00}},
        {ASIOSTInt32MSB, ASIOSTInt32LSB, 0x12345678, {0x12, 0x34, 0x56, 0x78}},
        // Scaled by 2^-31: -1.0 and the float nearest to 1 - 2^-31 (1.0), round to nearest.
        {ASIOSTFloat32MSB, ASIOSTFloat32LSB, 0x7FFFFFFF, {0x3F, 0x80, 0x00, 0x00}},
        {ASIOSTFloat32MSB, ASIOSTFloat32LSB, 0x80000000, {0xBF, 0x80, 0x00, 0x00}},
        {ASIOSTFloat32MSB, ASIOSTFloat32LSB, 0xFFFFFFFF, {0xB0, 0x00, 0x00, 0x00}},
        {ASIOSTFloat32MSB, ASIOSTFloat32LSB, 0x00000001, {0x30, 0x00, 0x00, 0x00}},
        {ASIOSTFloat32MSB, ASIOSTFloat32LSB, 0x12345678, {0x3E, 0x11, 0xA2, 0xB4}},
        {ASIOSTFloat32MSB, ASIOSTFloat32LSB, 0x00000000, {0x00, 0x00, 0x00, 0x00}},
        {ASIOSTFloat64MSB, ASIOSTFloat64LSB, 0x7FFFFFFF, {0x3F, 0xEF, 0xFF, 0xFF, 0xFF, 0xC0, 0x00, 0x00}},
        {ASIOSTFloat64MSB, ASIOSTFloat64LSB, 0x80000000, {0xBF, 0xF0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {ASIOSTFloat64MSB, ASIOSTFloat64LSB, 0xFFFFFFFF, {0xBE, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {ASIOSTFloat64MSB, ASIOSTFloat64LSB, 0x12345678, {0x3F, 0xC2, 0x34, 0x56, 0x78, 0x00, 0x00, 0x00}},
        // Right-justified, sign-extended.
        {ASIOSTInt32MSB16, ASIOSTInt32LSB16, 0x7FFFFFFF, {0x00, 0x00, 0x7F, 0xFF}},
        {ASIOSTInt32MSB16, ASIOSTInt32LSB16, 0x80000000, {0xFF, 0xFF, 0x80, 0x00}},
        {ASIOSTInt32MSB16, ASIOSTInt32LSB16, 0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF}},
        {ASIOSTInt32MSB16, ASIOSTInt32LSB16, 0x12345678, {0x00, 0x00, 0x12, 0x34}},
        {ASIOSTInt32MSB18, ASIOSTInt32LSB18, 0x7FFFFFFF, {0x00, 0x01, 0xFF, 0xFF}},
        {ASIOSTInt32MSB18, ASIOSTInt32LSB18, 0x80000000, {0xFF, 0xFE, 0x00, 0x00}},
        {ASIOSTInt32MSB18, ASIOSTInt32LSB18, 0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF}},
        {ASIOSTInt32MSB18, ASIOSTInt32LSB18, 0x12345678, {0x00, 0x00, 0x48, 0xD1}},
        {ASIOSTInt32MSB20, ASIOSTInt32LSB20, 0x7FFFFFFF, {0x00, 0x07, 0xFF, 0xFF}},
        {ASIOSTInt32MSB20, ASIOSTInt32LSB20, 0x80000000, {0xFF, 0xF8, 0x00, 0x00}},
        {ASIOSTInt32MSB20, ASIOSTInt32LSB20, 0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF}},
        {ASIOSTInt32MSB20, ASIOSTInt32LSB20, 0x12345678, {0x00, 0x01, 0x23, 0x45}},
        {ASIOSTInt32MSB24, ASIOSTInt32LSB24, 0x7FFFFFFF, {0x00, 0x7F, 0xFF, 0xFF}},
        {ASIOSTInt32MSB24, ASIOSTInt32LSB24, 0x80000000, {0xFF, 0x80, 0x00, 0x00}},
        {ASIOSTInt32MSB24, ASIOSTInt32LSB24, 0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF}},
        {ASIOSTInt32MSB24, ASIOSTInt32LSB24, 0x12345678, {0x00, 0x12, 0x34, 0x56}},
    };
    for (const PcmCase& test : cases) {
        SCOPED_TRACE(testing::Message() << "type " << test.msbType << " word 0x" << std::hex << test.word);
        EXPECT_EQ(ConvertOne(*FindSampleTypeRow(test.msbType), test.word), test.msbBytes);
        const Bytes lsbBytes(test.msbBytes.rbegin(), test.msbBytes.rend());
        EXPECT_EQ(ConvertOne(*FindSampleTypeRow(test.lsbType), test.word), lsbBytes);
    }
}

TEST(SampleConversionTest, DsdRowsKeepMirrorOrSpreadTheBits)
{
    // The channel word of the source bytes 01 80 F0 0F.
    const uint32_t word = 0x0FF08001;
    EXPECT_EQ(ConvertOne(*FindSampleTypeRow(ASIOSTDSDInt8MSB1), word), (Bytes{0x01, 0x80, 0xF0, 0x0F}));
    EXPECT_EQ(ConvertOne(*FindSampleTypeRow(ASIOSTDSDInt8LSB1), word), (Bytes{0x80, 0x01, 0x0F, 0xF0}));
    EXPECT_EQ(ConvertOne(*FindSampleTypeRow(ASIOSTDSDInt8LSB1), 0xB4D22C69), (Bytes{0x96, 0x34, 0x4B, 0x2D}));
    const Bytes spread{0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0,
                       1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1};
    EXPECT_EQ(ConvertOne(*FindSampleTypeRow(ASIOSTDSDInt8NER8), word), spread);
}

// Every length up to nine words, so that grouped stores meet every way a run can end.
TEST(SampleConversionTest, RunConversionEqualsOneCallPerWord)
{
    const std::vector<uint32_t> words{0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x12345678, 0,
                                      0x96969696, 0x0FF08001, 0x00000100, 0xFEDCBA98};
    for (const SampleTypeRow& row : SampleTypeRows()) {
        for (size_t length = 0; length <= words.size(); ++length) {
            SCOPED_TRACE(testing::Message() << "type " << row.type << " length " << length);
            const std::span<const uint32_t> run(words.data(), length);
            Bytes perWord;
            for (uint32_t word : run) {
                const Bytes one = ConvertOne(row, word);
                perWord.insert(perWord.end(), one.begin(), one.end());
            }
            // Exactly as large as the run, so that a store past its end shows under the address sanitizer.
            Bytes converted(perWord.size());
            EXPECT_EQ(row.convertRun(converted.data(), run), perWord.size());
            EXPECT_EQ(converted, perWord);
        }
    }
}

} // namespace
} // namespace sonavel
