// Settings file rules, run natively and under Wine.
#include <gtest/gtest.h>

#include "core/settings_record.h"
#include "line_helpers.h"

namespace {

SettingsRecord Load(std::string_view bytes) {
    SettingsRecord record;
    for (const std::string& line : SplitLines(bytes)) ApplySettingsLine(record, line);
    DeriveActiveFields(record);
    return record;
}

}  // namespace

TEST(SettingsFilePath, ReplacesFromTheLastDotOfTheWholePath) {
    EXPECT_EQ(SettingsFilePath("D:\\Tools\\builder.exe"), "D:\\Tools\\builder.ini");
    EXPECT_EQ(SettingsFilePath("D:\\my.tools\\builder"), "D:\\my.ini");
    EXPECT_EQ(SettingsFilePath("D:\\tools\\builder"), "D:\\tools\\builder.ini");
    EXPECT_EQ(SettingsFilePath("D:\\t\\a.b.exe"), "D:\\t\\a.b.ini");
}

TEST(SettingsLines, KeysAreWholeAndCaseInsensitiveValuesKeepTheirCase) {
    SettingsRecord r = Load("  active=D:\\t\\a.test  \r\nPBWIN=C:\\PB\\Pbwin.exe\r\nQuarex= D:\\q\r\n");
    EXPECT_EQ(r.active, "D:\\t\\a.test");
    EXPECT_EQ(r.pbwin, "C:\\PB\\Pbwin.exe");
    EXPECT_EQ(r.quarex, " D:\\q");

    r = Load("active =D:\\x\r\n\tpbcc=D:\\y\r\nactivex=1\r\nrelative=1\r\n");
    EXPECT_EQ(r.active, "");
    EXPECT_EQ(r.pbcc, "");
    EXPECT_EQ(r.directory, "");
}

TEST(SettingsLines, ShortestAndLongestKeysMatchInAnyCase) {
    SettingsRecord r = Load("PBCC=C:\\c.exe\r\nDIRECTORY=Relative\r\nIncl4=D:\\i4\r\npbc=x\r\ndirectoryx=y");
    EXPECT_EQ(r.pbcc, "C:\\c.exe");
    EXPECT_EQ(r.directory, "relative");
    EXPECT_EQ(r.incl4, "D:\\i4");
    // One letter short of a key or one too many matches nothing.
    EXPECT_EQ(Load("pbc=x").pbcc, "");
    EXPECT_EQ(Load("directoryx=y").directory, "");
}

TEST(SettingsLines, ValueEndsAtTheSecondEquals) {
    EXPECT_EQ(Load("incl1=D:\\a=b\\inc").incl1, "D:\\a");
    EXPECT_EQ(Load("output==x").output, "");
}

TEST(SettingsLines, LastDuplicateWinsAndBlankLinesAreIgnored) {
    SettingsRecord r = Load("pbwin=first\r\n\r\n     \r\npbwin=second\r\n");
    EXPECT_EQ(r.pbwin, "second");
}

TEST(SettingsLines, AKnownKeyWithoutEqualsIsIgnored) {
    SettingsRecord r = Load("pbwin=C:\\pb.exe\r\npbwin\r\nACTIVE\r\n");
    EXPECT_EQ(r.pbwin, "C:\\pb.exe");
    EXPECT_EQ(r.active, "");
}

TEST(SettingsLines, DirectoryAndCompilerAreNormalised) {
    EXPECT_EQ(Load("Directory=RELATIVE").directory, "relative");
    EXPECT_EQ(Load("directory=elsewhere").directory, "specific");
    EXPECT_EQ(Load("directory=").directory, "specific");
    EXPECT_EQ(Load("directory= relative").directory, "specific");
    EXPECT_EQ(Load("compiler=PbWin").compiler, "pbwin");
    EXPECT_EQ(Load("compiler=PBCC").compiler, "pbcc");
    EXPECT_EQ(Load("compiler=").compiler, "pbcc");
}

TEST(SettingsLines, IncludeIsOneDigitFromOneToFour) {
    EXPECT_EQ(Load("include=3").include, "3");
    EXPECT_EQ(Load("include=2.0").include, "2");
    EXPECT_EQ(Load("include= 4").include, "4");
    EXPECT_EQ(Load("include=&H4").include, "4");
    for (const char* value : {"7", "0", "2.5", "x", "", "-2"})
        EXPECT_EQ(Load(std::string("include=") + value).include, "1") << value;
}

TEST(SettingsLines, LfOnlyFileIsOneLine) {
    SettingsRecord r = Load("active=D:\\a.test\nquarex=D:\\q.exe\n");
    EXPECT_EQ(r.active, "D:\\a.test\nquarex");
    EXPECT_EQ(r.quarex, "");
}

TEST(SettingsLines, ByteOrderMarkHidesTheFirstKey) {
    SettingsRecord r = Load("\xEF\xBB\xBF" "active=D:\\a.test\r\npbcc=D:\\c.exe\r\n");
    EXPECT_EQ(r.active, "");
    EXPECT_EQ(r.pbcc, "D:\\c.exe");
}

TEST(DerivedFields, FollowCompilerAndIncludeWhateverTheLineOrder) {
    SettingsRecord r = Load("incl2=\r\ncompiler=pbcc\r\npbwin=W\r\npbcc=C\r\ninclude=2\r\nincl1=I1\r\n");
    EXPECT_EQ(r.activeCompilerPath, "C");
    EXPECT_EQ(r.activeIncludeDir, "");

    r = Load("include=3\r\nincl3=I3\r\ncompiler=pbwin\r\npbwin=W\r\n");
    EXPECT_EQ(r.activeCompilerPath, "W");
    EXPECT_EQ(r.activeIncludeDir, "I3");
}

TEST(DerivedFields, EmptyFileLeavesEverythingEmptyAndPbccActive) {
    SettingsRecord r = Load("");
    EXPECT_EQ(r.directory, "");
    EXPECT_EQ(r.compiler, "");
    EXPECT_EQ(r.include, "");
    r.pbcc = "C";
    DeriveActiveFields(r);
    EXPECT_EQ(r.activeCompilerPath, "C");
}

TEST(DerivedFields, IncludeOutsideOneToFourKeepsThePreviousDirectory) {
    SettingsRecord r;
    r.incl1 = "I1";
    r.include = "1";
    DeriveActiveFields(r);
    EXPECT_EQ(r.activeIncludeDir, "I1");
    r.include = "9";
    r.incl1 = "changed";
    DeriveActiveFields(r);
    EXPECT_EQ(r.activeIncludeDir, "I1");
}

TEST(SettingsFormat, DefaultRecordIsTwelveLinesInOrder) {
    SettingsRecord r;
    ApplySettingsDefaults(r);
    EXPECT_EQ(FormatSettingsFile(r),
              "active=\r\ndirectory=relative\r\noutput=\r\ncompiler=pbwin\r\npbwin=\r\npbcc=\r\n"
              "quarex=\r\ninclude=1\r\nincl1=\r\nincl2=\r\nincl3=\r\nincl4=\r\n");
}

TEST(SettingsFormat, WhatIsWrittenLoadsBack) {
    SettingsRecord r;
    r.active = "D:\\t\\a b.test";
    r.directory = "specific";
    r.output = "E:\\gen\\";
    r.compiler = "pbcc";
    r.pbwin = "W";
    r.pbcc = "C";
    r.quarex = "Q";
    r.include = "4";
    r.incl1 = "1";
    r.incl2 = "2";
    r.incl3 = "3";
    r.incl4 = "4";
    SettingsRecord back = Load(FormatSettingsFile(r));
    DeriveActiveFields(r);
    EXPECT_EQ(FormatSettingsFile(back), FormatSettingsFile(r));
    EXPECT_EQ(back.activeCompilerPath, "C");
    EXPECT_EQ(back.activeIncludeDir, "4");
}
