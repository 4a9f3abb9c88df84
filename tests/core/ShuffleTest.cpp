#include "core/Shuffle.h"

#include <gtest/gtest.h>

#include <vector>

namespace sonavel {
namespace {

// The default-seeded generator's first draws are fixed by the standard (3499211612, 581869302,
// 3890346734, 3586334585, 545404204, ...), so these orders follow the walk by hand.
std::vector<int32_t> ShuffleWithDefaultSeed(int32_t n, int32_t first)
{
    std::mt19937 generator;
    std::vector<int32_t> order(n);
    ShuffleOrder(order, first, generator);
    return order;
}

TEST(ShuffleOrderTest, FollowsTheWalkWithDownwardCollisionResolution)
{
    struct Case {
        int32_t n;
        int32_t first;
        std::vector<int32_t> expected;
    };
    const Case cases[] = {
        // draws mod 5: 2, 2, 4, 0, 4 -> slots 2, 4, 3, then 3 and 2 taken so 1, then 0
        {5, -1, {4, 3, 0, 2, 1}},
        // entry 3 fixed at slot 0 and takes no draw
        {5, 3, {3, 4, 0, 2, 1}},
        // draws mod 2: 0, 0 -> slot 0, then slot 0 taken and the walk wraps to slot 1
        {2, -1, {0, 1}},
        {1, -1, {0}},
        {1, 0, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "n " << c.n << " first " << c.first);
        EXPECT_EQ(ShuffleWithDefaultSeed(c.n, c.first), c.expected);
    }
}

TEST(ShuffleOrderTest, InvalidFirstEntryFixesNothing)
{
    EXPECT_EQ(ShuffleWithDefaultSeed(5, -7), ShuffleWithDefaultSeed(5, -1));
    EXPECT_EQ(ShuffleWithDefaultSeed(5, 5), ShuffleWithDefaultSeed(5, -1));
}

TEST(ShuffleOrderTest, GeneratorsFromTheOsSourceDiffer)
{
    // Two equal 624-word states from independent OS seeds would mean the seed is not used.
    std::vector<uint32_t> first;
    std::vector<uint32_t> second;
    std::mt19937 a = MakeShuffleGenerator();
    std::mt19937 b = MakeShuffleGenerator();
    for (int i = 0; i < 4; ++i) {
        first.push_back(a());
        second.push_back(b());
    }
    EXPECT_NE(first, second);
}

} // namespace
} // namespace sonavel
