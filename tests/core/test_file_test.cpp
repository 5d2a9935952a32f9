// Test file rules, run natively and under Wine.
#include <gtest/gtest.h>

#include "line_helpers.h"
#include "core/test_file.h"

namespace {

std::string Generated(std::string_view bytes) {
    GeneratedPathScan scan;
    for (const std::string& line : SplitLines(bytes))
        if (ScanTestFileLine(scan, line)) break;
    return GeneratedPathFromScan(scan);
}

}  // namespace

TEST(NewTestFile, RelativeModeWritesTwoLines) {
    SettingsRecord r;
    r.directory = "relative";
    r.output = "E:\\gen";
    EndOutputFolderWithBackslash(r);
    EXPECT_EQ(NewTestFileText("D:\\src\\Util.BAS", r), "[quarex]\r\nsource=D:\\src\\Util.BAS\r\n");
    EXPECT_EQ(r.output, "E:\\gen");
    EXPECT_EQ(TestFilePathFor("D:\\src\\Util.BAS"), "D:\\src\\Util.test");
}

TEST(NewTestFile, SpecificModeAddsOutputAndItsBackslash) {
    SettingsRecord r;
    r.directory = "specific";
    r.output = "E:\\gen";
    EXPECT_EQ(NewTestFileText("D:\\src\\Util.BAS", r),
              "[quarex]\r\nsource=D:\\src\\Util.BAS\r\noutput=E:\\gen\\Util_test.bas\r\n");
    EXPECT_EQ(r.output, "E:\\gen");
    EndOutputFolderWithBackslash(r);
    EXPECT_EQ(r.output, "E:\\gen\\");
    EndOutputFolderWithBackslash(r);
    EXPECT_EQ(r.output, "E:\\gen\\");
}

TEST(NewTestFile, AnyModeButRelativeCountsAsSpecific) {
    for (const char* mode : {"", "Relative", "specific"}) {
        SettingsRecord r;
        r.directory = mode;
        EXPECT_EQ(NewTestFileText("D:\\src\\a.b.inc", r),
                  "[quarex]\r\nsource=D:\\src\\a.b.inc\r\noutput=\\a.b_test.bas\r\n") << mode;
        EndOutputFolderWithBackslash(r);
        EXPECT_EQ(r.output, "\\");
    }
    EXPECT_EQ(TestFilePathFor("D:\\src\\a.b.inc"), "D:\\src\\a.b.test");
    EXPECT_EQ(TestFilePathFor("D:\\my.dir\\lib"), "D:\\my.dir\\lib.test");
    EXPECT_EQ(TestFilePathFor("lib.bi"), "lib.test");
    // The source's own name, every character kept, for the file made beside it.
    EXPECT_EQ(TestFilePathFor(L"D:\\src\\\u03A9mega.bas"), L"D:\\src\\\u03A9mega.test");
    EXPECT_EQ(TestFilePathFor(L"D:\\my.dir\\lib"), L"D:\\my.dir\\lib.test");
    EXPECT_EQ(TestFilePathFor(L"a.b.inc"), L"a.b.test");
}

TEST(GeneratedPath, FromTheSourceLine) {
    EXPECT_EQ(Generated("[quarex]\r\nsource=D:\\src\\util.bas\r\n"), "D:\\src\\test\\util_test.bas");
    EXPECT_EQ(Generated("source=util.bas"), "test\\util_test.bas");
    EXPECT_EQ(Generated("source=D:\\src\\util"), "D:\\src\\test\\util_test.bas");
    EXPECT_EQ(Generated("source=D:\\my.dir\\util"), "D:\\my.dir\\test\\util_test.bas");
    EXPECT_EQ(Generated("source=D:\\src\\a.b.bas"), "D:\\src\\test\\a.b_test.bas");
}

TEST(GeneratedPath, TabsAroundTheSourceValueStay) {
    // Only spaces are trimmed: the tab before the path stays in the directory part, the one
    // after it in the name, which loses it with the extension.
    EXPECT_EQ(Generated("source=\tD:\\s\\u.bas\t"), "\tD:\\s\\test\\u_test.bas");
    EXPECT_EQ(Generated("source=\tD:\\s\\u\t"), "\tD:\\s\\test\\u\t_test.bas");
}

TEST(GeneratedPath, FirstOutputWinsLastSourceWins) {
    EXPECT_EQ(Generated("[quarex]\r\noutput=E:\\gen\\util_test.bas\r\nsource=D:\\src\\util.bas\r\n"),
              "E:\\gen\\util_test.bas");
    EXPECT_EQ(Generated("source=D:\\src\\util.bas\r\noutput=E:\\gen\\util_test.bas\r\n"),
              "E:\\gen\\util_test.bas");
    EXPECT_EQ(Generated("output=A\r\noutput=B\r\n"), "A");
    EXPECT_EQ(Generated("source=D:\\a\\one.bas\r\nsource=D:\\b\\two.bas\r\n"), "D:\\b\\test\\two_test.bas");
}

TEST(GeneratedPath, KeyIsSixCharactersIgnoringCase) {
    EXPECT_EQ(Generated("Output  = E:\\gen\\x.bas  "), "E:\\gen\\x.bas");
    EXPECT_EQ(Generated("outputfile=E:\\o.bas"), "E:\\o.bas");
    EXPECT_EQ(Generated("output"), "output");
    EXPECT_EQ(Generated("SOURCE=D:\\s\\u.bas"), "D:\\s\\test\\u_test.bas");
    EXPECT_EQ(Generated(" source=D:\\s\\u.bas"), "test\\_test.bas");
}

TEST(GeneratedPath, NothingUsefulGivesTheBareName) {
    EXPECT_EQ(Generated(""), "test\\_test.bas");
    EXPECT_EQ(Generated("[quarex]\nsource=D:\\s\\u.bas\noutput=E:\\o.bas\n"), "test\\_test.bas");
}
