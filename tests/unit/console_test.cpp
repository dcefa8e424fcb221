#include "textio/layout.h"
#include <gtest/gtest.h>
TEST(console, Placeholder) { EXPECT_TRUE(true); }
