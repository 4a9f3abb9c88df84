#include "platform/MemoryStatus.h"
#include "platform/ProgramFolder.h"
#include "platform/VirtualMemory.h"

#include <gtest/gtest.h>

#include <cstring>

namespace sonavel {
namespace {

TEST(VirtualMemoryTest, BlocksAreZeroedWritableAndNullForZeroBytes)
{
    EXPECT_EQ(AllocBlock(0), nullptr);
    EXPECT_EQ(MapPages(0), nullptr);
    for (const size_t size : {size_t{1}, size_t{4096}, size_t{176400}}) {
        auto* block = static_cast<unsigned char*>(AllocBlock(size));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % PageSize(), 0u);
        EXPECT_EQ(block[0], 0);
        EXPECT_EQ(block[size - 1], 0);
        std::memset(block, 0xA5, size);
        FreeBlock(block);
    }
    FreeBlock(nullptr);
}

TEST(MemoryStatusTest, ParsesMemInfo)
{
    const auto status = ParseMemInfo("MemTotal:       24000000 kB\nMemFree:  100 kB\nMemAvailable:   20000000 kB\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->totalPhys, 24000000ull * 1024);
    EXPECT_EQ(status->availPhys, 20000000ull * 1024);

    EXPECT_FALSE(ParseMemInfo("MemTotal: 100 kB\n"));
    EXPECT_FALSE(ParseMemInfo("MemTotal: x kB\nMemAvailable: 1 kB\n"));
    EXPECT_FALSE(ParseMemInfo("MemTotal: 99999999999999999999 kB\nMemAvailable: 1 kB\n"));
    // A key must start its line: "SwapMemTotal" is not MemTotal.
    EXPECT_FALSE(ParseMemInfo("XMemTotal: 1 kB\nMemAvailable: 1 kB\n"));
}

TEST(MemoryStatusTest, QueriesThisMachine)
{
    const auto status = QueryMemoryStatus();
    ASSERT_TRUE(status);
    EXPECT_GT(status->totalPhys, 0u);
    EXPECT_LE(status->availPhys, status->totalPhys);
    EXPECT_GT(status->availVirtual, 0u);
}

TEST(ProgramFolderTest, IsTheFolderOfThisExecutable)
{
    const auto folder = ProgramFolder();
    EXPECT_TRUE(std::filesystem::exists(folder / "platform_tests"));
}

} // namespace
} // namespace sonavel
