#include "textio/layout.h"
#include <gtest/gtest.h>
TEST(transfer, Placeholder) { EXPECT_TRUE(true); }
