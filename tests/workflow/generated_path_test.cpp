// GeneratedTestSourcePath on real test files.
#include <gtest/gtest.h>

#include "core/settings_record.h"
#include "platform/ansi.h"
#include "test_support.h"
#include "workflow/generated_path.h"

namespace {

class GeneratedSource : public ::testing::Test {
protected:
    void SetUp() override {
        TestSettings = SettingsRecord{};
        TestSettings.active = testFile;
    }

    // The path for a test file with these bytes; afterwards the file must be closed again.
    std::string For(std::string_view bytes) {
        WriteBytes(testFile, bytes);
        std::string path = GeneratedTestSourcePath(TestSettings);
        ExclusiveHold hold(testFile);
        EXPECT_TRUE(hold.Held()) << "the test file was left open";
        return path;
    }

    TempDir temp;
    std::string testFile = temp / "util.test";
};

TEST_F(GeneratedSource, FromTheSourceLine) {
    EXPECT_EQ(For("[quarex]\r\nsource=D:\\src\\util.bas\r\n"), "D:\\src\\test\\util_test.bas");
    EXPECT_EQ(For("[quarex]\r\nsource=D:\\a\\one.bas\r\nsource=D:\\b\\two.bas"), "D:\\b\\test\\two_test.bas");
}

TEST_F(GeneratedSource, TheFirstOutputLineWins) {
    EXPECT_EQ(For("[quarex]\r\noutput=E:\\gen\\util_test.bas\r\nsource=D:\\src\\util.bas\r\n"), "E:\\gen\\util_test.bas");
    EXPECT_EQ(For("[quarex]\r\nsource=D:\\src\\util.bas\r\nOutput  = E:\\gen\\x.bas \r\noutput=F:\\y.bas\r\n"),
              "E:\\gen\\x.bas");
}

TEST_F(GeneratedSource, LinesAsTheFileReadingSplitsThem) {
    // LF alone does not end a line: one line, beginning with the directive.
    EXPECT_EQ(For("[quarex]\nsource=D:\\src\\util.bas\noutput=E:\\x.bas\n"), "test\\_test.bas");
    // A CR alone does; byte 26 ends the file.
    EXPECT_EQ(For("[quarex]\rsource=D:\\src\\util.bas\r\x1Aoutput=E:\\x.bas\r\n"), "D:\\src\\test\\util_test.bas");
}

TEST_F(GeneratedSource, EmptyForNoExistingFile) {
    TestSettings.active = "";
    EXPECT_EQ(GeneratedTestSourcePath(TestSettings), "");
    TestSettings.active = temp / "missing.test";
    EXPECT_EQ(GeneratedTestSourcePath(TestSettings), "");
    TestSettings.active = temp.Path();
    EXPECT_EQ(GeneratedTestSourcePath(TestSettings), "");
    CreateDirectoryW(ToWide(temp / "folder.test").c_str(), nullptr);
    TestSettings.active = temp / "folder.test";
    EXPECT_EQ(GeneratedTestSourcePath(TestSettings), "");
}

TEST_F(GeneratedSource, FileHeldByAnotherProgramReadsAsEmpty) {
    WriteBytes(testFile, "[quarex]\r\nsource=D:\\src\\util.bas\r\n");
    ExclusiveHold hold(testFile);
    ASSERT_TRUE(hold.Held());
    EXPECT_EQ(GeneratedTestSourcePath(TestSettings), "test\\_test.bas");
}

}  // namespace
