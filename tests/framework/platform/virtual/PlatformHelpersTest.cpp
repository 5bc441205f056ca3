#include "framework/platform/FNUtf8Cut.h"

#include <gtest/gtest.h>

TEST(FNUtf8Cut, Placeholder)
{
    EXPECT_EQ(FNUtf8Cut("abc", 2), "ab");
}
