// Command lines and report texts, run natively and under Wine.
#include <gtest/gtest.h>

#include "core/command_lines.h"
#include "core/log_excerpt.h"
#include "core/report_texts.h"

namespace {

SettingsRecord Configured() {
    SettingsRecord r;
    r.active = "D:\\src\\util.test";
    r.quarex = "C:\\Program Files\\Quarex\\quarex.exe";
    r.activeCompilerPath = "C:\\PB Win\\Pbwin.exe";
    r.activeIncludeDir = "C:\\PB Win\\inc";
    return r;
}

}  // namespace

TEST(CommandLines, ProgramPathIsQuotedArgumentsAsTheToolExpects) {
    SettingsRecord r = Configured();
    EXPECT_EQ(AddCommandLine(r), "\"C:\\Program Files\\Quarex\\quarex.exe\" \"D:\\src\\util.test\" /add");
    EXPECT_EQ(SequenceCommandLine(r), "\"C:\\Program Files\\Quarex\\quarex.exe\" \"D:\\src\\util.test\" /seq");
    EXPECT_EQ(GenerateCommandLine(r), "\"C:\\Program Files\\Quarex\\quarex.exe\" \"D:\\src\\util.test\"");
    EXPECT_EQ(CompileCommandLine(r, "D:\\src\\test\\util_test.bas"),
              "\"C:\\PB Win\\Pbwin.exe\" /I\"C:\\PB Win\\inc\" /Q /L \"D:\\src\\test\\util_test.bas\"");
    EXPECT_EQ(TestProgramCommandLine("D:\\src\\test\\util_test.bas"), "\"D:\\src\\test\\util_test\"");
}

TEST(CommandLines, EmptyIncludeDirectoryIsStillQuoted) {
    SettingsRecord r = Configured();
    r.activeIncludeDir.clear();
    EXPECT_EQ(CompileCommandLine(r, "x.bas"), "\"C:\\PB Win\\Pbwin.exe\" /I\"\" /Q /L \"x.bas\"");
    // A backslash before the closing quote would escape it: the one that ends a folder is doubled.
    r.activeIncludeDir = "C:\\inc\\";
    EXPECT_EQ(CompileCommandLine(r, "x\\"), "\"C:\\PB Win\\Pbwin.exe\" /I\"C:\\inc\\\\\" /Q /L \"x\\\\\"");
}

TEST(CommandLines, ProgramPathsWithTheirOwnQuotesAreUsedAsTheyStand) {
    SettingsRecord r = Configured();
    r.quarex = "\"C:\\Program Files\\Quarex\\quarex.exe\"";
    r.activeCompilerPath = "\"C:\\PB Win\\Pbwin.exe\"";
    EXPECT_EQ(AddCommandLine(r), "\"C:\\Program Files\\Quarex\\quarex.exe\" \"D:\\src\\util.test\" /add");
    EXPECT_EQ(GenerateCommandLine(r), "\"C:\\Program Files\\Quarex\\quarex.exe\" \"D:\\src\\util.test\"");
    EXPECT_EQ(CompileCommandLine(r, "x.bas"), "\"C:\\PB Win\\Pbwin.exe\" /I\"C:\\PB Win\\inc\" /Q /L \"x.bas\"");
    EXPECT_EQ(UnquotedProgram(r.quarex), "C:\\Program Files\\Quarex\\quarex.exe");
    // A lone quote, or one at one end only, is part of the path.
    EXPECT_EQ(QuotedProgram("\""), "\"\"\"");
    EXPECT_EQ(QuotedProgram("\"C:\\q.exe"), "\"\"C:\\q.exe\"");
    EXPECT_EQ(UnquotedProgram("C:\\q.exe\""), "C:\\q.exe\"");
}

TEST(CommandLines, TestProgramAndLogNames) {
    EXPECT_EQ(TestProgramPath("D:\\src\\test\\util_test.bas"), "D:\\src\\test\\util_test");
    // Only the name loses its extension; a name that keeps a "." gets ".exe", which the system
    // would not add to a name it reads as having an extension.
    EXPECT_EQ(TestProgramPath("D:\\src\\test\\a.b_test.bas"), "D:\\src\\test\\a.b_test.exe");
    EXPECT_EQ(TestProgramPath("a.b"), "a");
    // A source without an extension is no program: the one built from it is, with ".exe".
    EXPECT_EQ(TestProgramPath("noext"), "noext.exe");
    EXPECT_EQ(TestProgramPath("D:\\gen.d\\util_test"), "D:\\gen.d\\util_test.exe");
    EXPECT_EQ(TestProgramCommandLine("D:\\gen.d\\util_test"), "\"D:\\gen.d\\util_test.exe\"");
    EXPECT_EQ(TestProgramPath(""), "");
    EXPECT_EQ(TestProgramPath("D:\\gen\\"), "D:\\gen\\");
    EXPECT_EQ(CompilerLogName("util_test.bas"), "util_test.log");
    EXPECT_EQ(CompilerLogName("a.b_test.bas"), "a.b_test.log");
    EXPECT_EQ(CompilerLogName("noext"), "noext.log");
    // No generated source, no log: no file named ".log" is read or made.
    EXPECT_EQ(CompilerLogName(""), "");
}

TEST(Reports, ToolExitMessages) {
    EXPECT_EQ(ToolExitMessage(1), "No parameters specified");
    EXPECT_EQ(ToolExitMessage(2), "Test file was not found");
    EXPECT_EQ(ToolExitMessage(3), "Test file did not include a [quarex] directive on the first line");
    EXPECT_EQ(ToolExitMessage(4), "Invalid parameter");
    EXPECT_EQ(ToolExitMessage(5), "Source file specified in the test file was not valid");
    EXPECT_EQ(ToolExitMessage(6), "Test file does not have a source= directive");
    EXPECT_EQ(ToolExitMessage(7), "Source file specified in the test file was not found");
    EXPECT_EQ(ToolExitMessage(0), "");
    EXPECT_EQ(ToolExitMessage(8), "");
    EXPECT_EQ(ToolExitMessage(-1), "");
}

TEST(Reports, FailureReportEndsWithLineBreakForUnknownCodes) {
    EXPECT_EQ(ToolFailureReport("Sequence failed", 3),
              "Sequence failed\r\nTest file did not include a [quarex] directive on the first line");
    EXPECT_EQ(ToolFailureReport("Add tests failed", 9), "Add tests failed\r\n");
    EXPECT_EQ(ToolFailureReport("Generate failed", -5), "Generate failed\r\n");
}

TEST(Reports, MissingSettingsInOrderJoinedByCrLf) {
    SettingsRecord empty;
    EXPECT_EQ(MissingSettingsReport(empty, true),
              "Please select a test file first\r\nPlease configure Quarex directory first\r\n"
              "Please configure active compiler first");
    EXPECT_EQ(MissingSettingsReport(empty, false),
              "Please select a test file first\r\nPlease configure Quarex directory first");

    SettingsRecord r = Configured();
    r.quarex.clear();
    EXPECT_EQ(MissingSettingsReport(r, false), "Please configure Quarex directory first");
    r = Configured();
    r.activeCompilerPath.clear();
    EXPECT_EQ(MissingSettingsReport(r, false), "");
    EXPECT_EQ(MissingSettingsReport(r, true), "Please configure active compiler first");
    r.activeCompilerPath = " ";
    EXPECT_EQ(MissingSettingsReport(r, true), "");
}

TEST(Reports, NotStarted) {
    EXPECT_EQ(NotStartedReport("Compile failed", "C:\\pb.exe", "File not found."),
              "Compile failed\r\nCould not start C:\\pb.exe\r\nFile not found.");
    EXPECT_EQ(NotStartedReport("", "D:\\t\\util_test", ""), "Could not start D:\\t\\util_test");
}

TEST(Reports, ALongLogKeepsItsLastLinesAfterALineThatSaysWhatIsLeftOut) {
    // CR LF, a lone LF and a lone CR each end a line; the last line has no line end.
    std::string log = "one\r\ntwo\nthree\rfour\r\nfive";
    EXPECT_EQ(LogLineCount(log), 5u);
    EXPECT_EQ(ShortenedLog(log, 2, "util_test.log"),
              "3 earlier lines are not shown; the whole log is in util_test.log\r\nfour\r\nfive");
    EXPECT_EQ(ShortenedLog(log, 4, "util_test.log"),
              "1 earlier line is not shown; the whole log is in util_test.log\r\ntwo\nthree\rfour\r\nfive");
    EXPECT_EQ(ShortenedLog(log, 0, "x.log"), "5 earlier lines are not shown; the whole log is in x.log");

    // A log that fits comes back byte for byte; a final line end starts no further line.
    EXPECT_EQ(ShortenedLog(log, 5, "x.log"), log);
    EXPECT_EQ(LogLineCount("a\r\nb\r\n"), 2u);
    EXPECT_EQ(ShortenedLog("a\r\nb\r\n", 1, "x.log"), "1 earlier line is not shown; the whole log is in x.log\r\nb\r\n");
    EXPECT_EQ(LogLineCount("\r\n\r\n"), 2u);
    EXPECT_EQ(LogLineCount(""), 0u);
    EXPECT_EQ(ShortenedLog("", 0, "x.log"), "");

    // Read from the end, as the box fits a log's tail: the same lines; the first line of a tail
    // that is not the whole log is left out, and a line over the limit ends the reading.
    LogLinesFromTheEnd tail("tial line\r\r\ntwo\n\r\n", false);
    EXPECT_EQ(tail.Previous(), "");
    EXPECT_EQ(tail.Previous(), "two");
    EXPECT_EQ(tail.Previous(), "");
    EXPECT_EQ(tail.Previous(), std::nullopt);
    EXPECT_TRUE(tail.AllGiven());
    LogLinesFromTheEnd limited(log, true);
    EXPECT_EQ(limited.Previous(4), "five");
    EXPECT_EQ(limited.Previous(3), std::nullopt);
    EXPECT_FALSE(limited.AllGiven());
    EXPECT_EQ(LogExcerpt("tial\r\nx\ny", false, 1, "x.log"), "Earlier lines are not shown; the whole log is in x.log\r\ny");
    EXPECT_EQ(LogExcerpt("tial\r\nx\ny", false, 9, "x.log"), "Earlier lines are not shown; the whole log is in x.log\r\nx\ny");
}

TEST(Reports, AskingToEndTheRunningProgramNamesItWithoutItsQuotes) {
    std::string addLine = "\"C:\\Tools\\quarex.exe\" \"D:\\src\\util.test\" /add";
    EXPECT_EQ(CommandLineProgram(addLine), "C:\\Tools\\quarex.exe");
    EXPECT_EQ(CommandLineProgram("D:\\src\\test\\util_test"), "D:\\src\\test\\util_test");
    EXPECT_EQ(CommandLineProgram("C:\\PB\\pbcc.exe /Q"), "C:\\PB\\pbcc.exe");
    EXPECT_EQ(CommandLineProgram("\"C:\\no end"), "C:\\no end");
    EXPECT_EQ(StillRunningQuestion(CommandLineProgram(addLine)),
              "C:\\Tools\\quarex.exe is still running.\r\nEnd it and close Test Builder?");
}
