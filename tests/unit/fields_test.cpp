#include "textio/layout.h"
#include <gtest/gtest.h>
TEST(fields, Placeholder) { EXPECT_TRUE(true); }
