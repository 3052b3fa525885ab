#include "core/Random.h"

#include <gtest/gtest.h>

TEST(Random, FollowsTheRecurrenceFromAGivenState)
{
    SetRandomState(0);
    // s1 = 1: (1 × 100) >> 32 = 0.
    EXPECT_EQ(RandomBelow(100), 0);
    EXPECT_EQ(RandomState(), 1u);
    // s2 = 134775814: (134775814 × 3000) >> 32 = 94.
    EXPECT_EQ(RandomBelow(3000), 94);
    EXPECT_EQ(RandomState(), 134775814u);

    SetRandomState(0xFFFFFFFFu);
    // s = 0xFFFFFFFF × 134775813 + 1 mod 2^32 = 2^32 − 134775812.
    EXPECT_EQ(RandomBelow(7000), static_cast<int32_t>((uint64_t(4294967296ull - 134775812ull) * 7000) >> 32));
    EXPECT_EQ(RandomState(), 4294967296u - 134775812u);
}

TEST(Random, StaysBelowTheBoundAndReplaysFromTheSameState)
{
    SetRandomState(12345);
    int32_t first[50];
    for (int32_t& v : first) {
        v = RandomBelow(4);
        EXPECT_GE(v, 0);
        EXPECT_LT(v, 4);
    }
    SetRandomState(12345);
    for (int32_t v : first)
        EXPECT_EQ(RandomBelow(4), v);
}

TEST(Random, SeedIsTheTimeOfDayInMilliseconds)
{
    SeedRandom();
    EXPECT_LT(RandomState(), 86400000u);
}
