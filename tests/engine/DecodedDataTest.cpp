#include "engine/DecodedDataBuffer.h"
#include "engine/DecodedDataQueue.h"
#ifndef SONAVEL_NO_ALLOCATION_COUNT
#include "tests/engine/AllocationCounter.h"
#endif

#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <thread>
#include <vector>

namespace sonavel {
namespace {

constexpr uint32_t kFrame = 4;

std::vector<uint8_t> Frames(uint32_t count, uint8_t first)
{
    std::vector<uint8_t> bytes(count * kFrame);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

TEST(DecodedDataQueueTest, RingWrapsWithoutLosingOrder)
{
    CDecodedDataQueue queue;
    std::vector<uint8_t> out(64 * kFrame);
    EXPECT_EQ(queue.Push(out.data(), 1), 0);
    EXPECT_EQ(queue.Pop(out.data(), 1), 0);
    ASSERT_EQ(queue.InitStorage(kFrame, 10), 1);
    EXPECT_EQ(queue.CapacityFrames(), 10u);
    EXPECT_EQ(queue.HoldsWholeTrack(), 0);
    EXPECT_EQ(queue.Seek(0), 0);
    EXPECT_EQ(queue.Pop(out.data(), 4), 0);

    // Exactly reaching the end of the ring wraps the write position to 0.
    const auto ten = Frames(10, 0);
    ASSERT_EQ(queue.Push(ten.data(), 10), 1);
    EXPECT_EQ(queue.Push(ten.data(), 1), 0);
    EXPECT_EQ(queue.StoredFrames(), 10u);
    ASSERT_EQ(queue.Pop(out.data(), 6), 6);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 6 * kFrame), std::vector<uint8_t>(ten.begin(), ten.begin() + 6 * kFrame));
    ASSERT_EQ(queue.Push(Frames(5, 100).data(), 5), 1);

    // More asked than stored: only what is stored, across the wrap.
    ASSERT_EQ(queue.Pop(out.data(), 64), 9);
    std::vector<uint8_t> expected(ten.begin() + 6 * kFrame, ten.end());
    const auto later = Frames(5, 100);
    expected.insert(expected.end(), later.begin(), later.end());
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 9 * kFrame), expected);
    EXPECT_EQ(queue.StoredFrames(), 0u);

    queue.Clear();
    EXPECT_EQ(queue.CapacityFrames(), 10u);
    queue.Reset();
    EXPECT_EQ(queue.CapacityFrames(), 0u);
    EXPECT_EQ(queue.Push(Frames(1, 0).data(), 1), 0);
}

TEST(DecodedDataQueueTest, PushAndPopAllocateNothing)
{
#ifdef SONAVEL_NO_ALLOCATION_COUNT
    GTEST_SKIP() << "allocations are not counted in this build";
#else
    CDecodedDataQueue queue;
    ASSERT_EQ(queue.InitStorage(kFrame, 1000), 1);
    const auto block = Frames(300, 0);
    std::vector<uint8_t> out(block.size());
    const uint64_t before = test::AllocationCount();
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(queue.Push(block.data(), 300), 1);
        ASSERT_EQ(queue.Pop(out.data(), 300), 300);
    }
    EXPECT_EQ(test::AllocationCount(), before);
    EXPECT_EQ(out, block);
#endif
}

TEST(DecodedDataQueueTest, InitStorageFailsForImpossibleSizes)
{
    CDecodedDataQueue queue;
    EXPECT_EQ(queue.InitStorage(kFrame, uint64_t{1} << 31), 0);
    EXPECT_EQ(queue.InitStorage(0, 10), 0);
    EXPECT_EQ(queue.InitStorage(UINT32_MAX, UINT64_MAX / 2), 0);
    EXPECT_EQ(queue.StoredFrames(), 0u);
}

TEST(DecodedDataQueueTest, LoaderAndFeederThreadsMoveEveryByteInOrder)
{
    CDecodedDataQueue queue;
    ASSERT_EQ(queue.InitStorage(kFrame, 37), 1);
    constexpr uint32_t kTotal = 20000;
    std::thread loader([&queue] {
        for (uint32_t frame = 0; frame < kTotal;) {
            const uint32_t n = std::min<uint32_t>(1 + frame % 13, kTotal - frame);
            std::vector<uint32_t> block(n);
            std::iota(block.begin(), block.end(), frame);
            if (queue.Push(block.data(), n) == 1) {
                frame += n;
            } else {
                std::this_thread::yield();
            }
        }
    });
    std::vector<uint32_t> received;
    std::vector<uint32_t> scratch(16);
    while (received.size() < kTotal) {
        const int got = queue.Pop(scratch.data(), 1 + received.size() % 16);
        received.insert(received.end(), scratch.begin(), scratch.begin() + got);
    }
    loader.join();
    std::vector<uint32_t> expected(kTotal);
    std::iota(expected.begin(), expected.end(), 0u);
    EXPECT_EQ(received, expected);
}

TEST(DecodedDataBufferTest, HoldsTheWholeTrackAndSeeks)
{
    CDecodedDataBuffer buffer;
    ASSERT_EQ(buffer.InitStorage(kFrame, 100000), 1);
    EXPECT_EQ(buffer.HoldsWholeTrack(), 1);
    const auto first = Frames(30000, 1);
    const auto second = Frames(30000, 2);
    ASSERT_EQ(buffer.Push(first.data(), 30000), 1);
    ASSERT_EQ(buffer.Push(second.data(), 30000), 1);
    EXPECT_EQ(buffer.StoredFrames(), 60000u);

    std::vector<uint8_t> out(60000 * kFrame);
    ASSERT_EQ(buffer.Pop(out.data(), 60000), 60000);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), out.begin()));
    EXPECT_TRUE(std::equal(second.begin(), second.end(), out.begin() + first.size()));
    EXPECT_EQ(buffer.Pop(out.data(), 1), 0);

    // Replays without reloading.
    ASSERT_EQ(buffer.Seek(29999), 1);
    ASSERT_EQ(buffer.Pop(out.data(), 2), 2);
    EXPECT_TRUE(std::equal(first.end() - kFrame, first.end(), out.begin()));
    EXPECT_TRUE(std::equal(second.begin(), second.begin() + kFrame, out.begin() + kFrame));
    ASSERT_EQ(buffer.Seek(1000000), 1);
    EXPECT_EQ(buffer.Pop(out.data(), 1), 0);
}

TEST(DecodedDataBufferTest, FallsBackToUnlockedChunksWhenMemoryCannotBeLocked)
{
    // Far more than any machine has free: the locked store refuses, the chunked one grows on
    // demand, so set-up succeeds and small pushes work.
    CDecodedDataBuffer buffer;
    ASSERT_EQ(buffer.InitStorage(kFrame, uint64_t{1} << 45), 1);
    ASSERT_EQ(buffer.Push(Frames(10, 0).data(), 10), 1);
    std::vector<uint8_t> out(10 * kFrame);
    EXPECT_EQ(buffer.Pop(out.data(), 10), 10);
    EXPECT_EQ(out, Frames(10, 0));

    CDecodedDataBuffer uninitialised;
    EXPECT_EQ(uninitialised.Seek(0), 0);
    EXPECT_EQ(uninitialised.Push(out.data(), 1), 0);
    EXPECT_EQ(uninitialised.Pop(out.data(), 1), 0);
}

} // namespace
} // namespace sonavel
