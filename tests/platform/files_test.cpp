#include <gtest/gtest.h>
#include "test_support.h"
#include "platform/files.h"
TEST(Files, Smoke) { TempDir d; WriteBytes(d / "a.txt", "x"); EXPECT_TRUE(FileExists(d / "a.txt")); }
