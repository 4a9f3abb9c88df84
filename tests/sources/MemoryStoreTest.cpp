#include "platform/VirtualMemory.h"
#include "sources/AWEMemory.h"
#include "sources/NormalMemory.h"
#include "sources/RAMModeMemory.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace sonavel {
namespace {

std::vector<uint8_t> Pattern(size_t size)
{
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t{7});
    return bytes;
}

TEST(NormalMemoryTest, FixedBlockWithBoundsChecks)
{
    CNormalMemory memory;
    EXPECT_EQ(memory.Reserve(uint64_t{1} << 32), 0);
    EXPECT_EQ(memory.GetSize(), 0u);
    uint8_t byte = 0;
    EXPECT_EQ(memory.Write(0, &byte, 1), 0);

    ASSERT_EQ(memory.Reserve(1000), 1);
    EXPECT_EQ(memory.GetSize(), 1000u);
    const auto data = Pattern(100);
    std::vector<uint8_t> out(100);
    EXPECT_EQ(memory.Write(900, data.data(), 100), 1);
    EXPECT_EQ(memory.Read(out.data(), 900, 100), 1);
    EXPECT_EQ(out, data);
    EXPECT_EQ(memory.Write(901, data.data(), 100), 0);
    EXPECT_EQ(memory.Read(out.data(), UINT64_MAX - 10, 100), 0);
    EXPECT_EQ(memory.Write(0, nullptr, 1), 0);
    memory.Clear();
    EXPECT_EQ(memory.GetSize(), 0u);
}

TEST(RAMModeMemoryTest, GrowsByChunksAndReadsOnlyWhatExists)
{
    CRAMModeMemory memory(kAllocationGranularity);
    EXPECT_EQ(memory.Reserve(uint64_t{1} << 40), 1);
    EXPECT_EQ(memory.GetSize(), 0u);
    const uint8_t one = 0x5A;
    ASSERT_EQ(memory.Write(65536, &one, 1), 1);
    EXPECT_EQ(memory.GetSize(), 131072u);

    const auto data = Pattern(200000);
    ASSERT_EQ(memory.Write(60000, data.data(), static_cast<uint32_t>(data.size())), 1);
    EXPECT_EQ(memory.GetSize(), 4u * 65536);
    std::vector<uint8_t> out(data.size());
    ASSERT_EQ(memory.Read(out.data(), 60000, static_cast<uint32_t>(out.size())), 1);
    EXPECT_EQ(out, data);
    // Ends in a chunk that was never written.
    EXPECT_EQ(memory.Read(out.data(), 4 * 65536 - 10, 11), 0);
    EXPECT_EQ(memory.Read(out.data(), 4 * 65536, 0), 1);

    EXPECT_EQ(memory.Write(0xFFFFFFFF, &one, 1), 0);
    EXPECT_EQ(memory.Write(0xFFFFFF00, data.data(), 0x200), 0);
    EXPECT_EQ(memory.Write(uint64_t{1} << 32, &one, 1), 0);
    EXPECT_EQ(memory.Read(nullptr, 0, 1), 0);
    memory.Clear();
    EXPECT_EQ(memory.GetSize(), 0u);
}

TEST(AWEMemoryTest, LockedStoreGrowsInRunsAndKeepsDataAcrossRuns)
{
    CAWEMemory memory(PageSize());
    if (!MayLockMemory(4u << 20)) {
        GTEST_SKIP() << "this process may not lock memory";
    }
    ASSERT_EQ(memory.Reserve(4u << 20), 1);
    const uint64_t run = uint64_t{PageSize()} * CAWEMemory::kPagesPerRun;
    const auto data = Pattern(10000);
    ASSERT_EQ(memory.Write(run - 5000, data.data(), static_cast<uint32_t>(data.size())), 1);
    EXPECT_EQ(memory.GetSize(), 2 * run);
    std::vector<uint8_t> out(data.size());
    ASSERT_EQ(memory.Read(out.data(), run - 5000, static_cast<uint32_t>(out.size())), 1);
    EXPECT_EQ(out, data);
    EXPECT_EQ(memory.Read(out.data(), 2 * run - 1, 2), 0);
    memory.Clear();
    EXPECT_EQ(memory.GetSize(), 0u);
}

TEST(AWEMemoryTest, ReserveRefusesMoreThanFreeMemoryAllows)
{
    CAWEMemory memory(PageSize());
    EXPECT_EQ(memory.Reserve(uint64_t{1} << 50), 0);
    EXPECT_EQ(memory.Reserve(UINT64_MAX), 0);
}

} // namespace
} // namespace sonavel
