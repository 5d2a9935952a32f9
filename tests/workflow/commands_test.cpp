// The three commands with stand-ins as the framework tool, the compiler and the test program.
#include <gtest/gtest.h>

#include "core/generated_source_check.h"
#include "core/report_texts.h"
#include "core/settings_record.h"
#include "platform/ansi.h"
#include "platform/paths.h"
#include "platform/launch.h"
#include "platform/system_error.h"
#include "standin_support.h"
#include "test_support.h"
#include "workflow/commands.h"
#include "core/command_lines.h"
#include "commands_fixture.h"
#include "workflow_support.h"

namespace {

// The workflow's command tests, on the shared fixture.
class Commands : public CommandsFixture {
protected:
    // The compiler stand-in builds the test program from the generated source (as a copy of itself).
    void CompilerBuildsTheTestProgram() { WriteStandinPlan(compiler, "copyself={source-base}.exe\r\n"); }
};

TEST_F(Commands, MissingSettingsAreReportedInOrderAndNothingStarts) {
    TestSettings = SettingsRecord{};
    RunTestsCommand(TestSettings, window.Screen());
    TestSettings.active = testFile;
    TestSettings.activeCompilerPath = compiler;
    AddRoutinesCommand(TestSettings, window.Screen());
    TestSettings.quarex = quarex;
    TestSettings.active = "";
    SequenceTestsCommand(TestSettings, window.Screen());
    TestSettings.active = testFile;
    TestSettings.activeCompilerPath = "";
    RunTestsCommand(TestSettings, window.Screen());

    EXPECT_EQ(feedback.Messages(), (std::vector<std::string>{
                                       "Please select a test file first\r\nPlease configure Quarex directory first\r\n"
                                       "Please configure active compiler first",
                                       "Please configure Quarex directory first",
                                       "Please select a test file first",
                                       "Please configure active compiler first",
                                   }));
    EXPECT_EQ(feedback.Beeps(), 0);
    EXPECT_TRUE(StandinRecords(quarex).empty());
    EXPECT_TRUE(StandinRecords(compiler).empty());
}

TEST_F(Commands, AddAndSequenceRunTheToolHiddenAndBeepOnSuccess) {
    TestSettings.activeCompilerPath = "";  // not needed by these two
    AddRoutinesCommand(TestSettings, window.Screen());
    TestSettings.active = " ";  // spaces count as set
    SequenceTestsCommand(TestSettings, window.Screen());

    std::vector<StandinRecord> runs = StandinRecords(quarex);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].command, Quoted(quarex) + " " + Quoted(testFile) + " /add");
    EXPECT_EQ(runs[1].command, Quoted(quarex) + " \" \" /seq");
    for (const StandinRecord& run : runs) {
        EXPECT_EQ(run.show, SW_HIDE);
        EXPECT_TRUE(run.useShowWindow);
        EXPECT_EQ(run.directory, WithoutTrailingBackslash(temp.Path()));
    }
    ASSERT_EQ(feedback.Events().size(), 2u);
    EXPECT_TRUE(feedback.Events()[0].beep);
    EXPECT_TRUE(feedback.Events()[1].beep);
}

TEST_F(Commands, ToolFailuresAreReportedWithTheExitCodesText) {
    WriteStandinPlan(quarex, "exit=3\r\n");
    SequenceTestsCommand(TestSettings, window.Screen());
    WriteStandinPlan(quarex, "exit=9\r\n");
    AddRoutinesCommand(TestSettings, window.Screen());
    WriteStandinPlan(quarex, "exit=-5\r\n");
    SequenceTestsCommand(TestSettings, window.Screen());

    EXPECT_EQ(feedback.Messages(),
              (std::vector<std::string>{"Sequence failed\r\nTest file did not include a [quarex] directive on the first line",
                                        "Add tests failed\r\n", "Sequence failed\r\n"}));
    EXPECT_EQ(feedback.Beeps(), 0);
}

TEST_F(Commands, AToolThatCannotStartIsAFailureNotASuccess) {
    std::string absent = temp / "Program Files\\Quarex Tool\\absent.exe";
    TestSettings.quarex = absent;
    std::string reason = SystemErrorText(ERROR_FILE_NOT_FOUND);
    AddRoutinesCommand(TestSettings, window.Screen());
    SequenceTestsCommand(TestSettings, window.Screen());
    RunTestsCommand(TestSettings, window.Screen());

    EXPECT_EQ(feedback.Messages(), (std::vector<std::string>{
                                       "Add tests failed\r\nCould not start " + absent + "\r\n" + reason,
                                       "Sequence failed\r\nCould not start " + absent + "\r\n" + reason,
                                       "Generate failed\r\nCould not start " + absent + "\r\n" + reason,
                                   }));
    EXPECT_EQ(feedback.Beeps(), 0);
    // Run tests stopped before the compiler, in the directory it started in.
    EXPECT_TRUE(StandinRecords(compiler).empty());
    EXPECT_EQ(GetCurrentDir(), WithoutTrailingBackslash(temp.Path()));
}

TEST_F(Commands, RunTestsGeneratesCompilesAndStartsTheTestProgramInItsFolder) {
    CompilerBuildsTheTestProgram();
    RunTestsCommand(TestSettings, window.Screen());

    std::string folder = WithoutTrailingBackslash(generatedFolder);
    std::vector<StandinRecord> tool = StandinRecords(quarex);
    ASSERT_EQ(tool.size(), 1u);
    EXPECT_EQ(tool[0].command, Quoted(quarex) + " " + Quoted(testFile));
    EXPECT_EQ(tool[0].show, SW_HIDE);
    EXPECT_EQ(tool[0].directory, WithoutTrailingBackslash(temp.Path()));

    std::vector<StandinRecord> compile = StandinRecords(compiler);
    ASSERT_EQ(compile.size(), 1u);
    EXPECT_EQ(compile[0].command, Compiled(generated));
    EXPECT_EQ(compile[0].show, SW_SHOWNORMAL);
    EXPECT_TRUE(compile[0].useShowWindow);
    EXPECT_EQ(compile[0].directory, folder);

    // Started without waiting: its record may come after the command has returned.
    std::vector<StandinRecord> program = WaitForStandinRecords(testProgram, 1);
    ASSERT_EQ(program.size(), 1u);
    EXPECT_EQ(program[0].command, Quoted(generatedFolder + "my util_test"));
    EXPECT_EQ(program[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(program[0].directory, folder);
    EXPECT_TRUE(feedback.Events().empty());
    EXPECT_TRUE(IsWindowVisible(window.Get()));

    // The current directory stays there, and later programs start there too.
    EXPECT_EQ(GetCurrentDir(), folder);
    AddRoutinesCommand(TestSettings, window.Screen());
    tool = StandinRecords(quarex);
    ASSERT_EQ(tool.size(), 2u);
    EXPECT_EQ(tool[1].directory, folder);
    WaitUntilDeletable(testProgram);
}

TEST_F(Commands, FailedCompileShowsItsLogWhileTheMainWindowIsHidden) {
    WriteStandinPlan(compiler, "exit=1\r\nwrite={source-base}.log\r\ncontentline=util_test.bas(3): error 477\r\n"
                               "content=Syntax error\r\n");
    RunTestsCommand(TestSettings, window.Screen());

    ASSERT_EQ(feedback.Events().size(), 1u);
    EXPECT_FALSE(feedback.Events()[0].beep);
    EXPECT_EQ(feedback.Events()[0].text, "util_test.bas(3): error 477\r\nSyntax error");
    EXPECT_FALSE(feedback.Events()[0].windowVisible);
    EXPECT_TRUE(IsWindowVisible(window.Get()));
    EXPECT_FALSE(PathExists(testProgram));
    EXPECT_TRUE(StandinRecords(testProgram).empty());
}

TEST_F(Commands, FailedCompileWithoutLogShowsAnEmptyBoxAndLeavesAnEmptyLog) {
    WriteStandinPlan(compiler, "exit=-1\r\n");
    TestSettings.activeIncludeDir = "";
    RunTestsCommand(TestSettings, window.Screen());

    std::vector<StandinRecord> compile = StandinRecords(compiler);
    ASSERT_EQ(compile.size(), 1u);
    EXPECT_EQ(compile[0].command, Compiled(generated));
    ASSERT_EQ(feedback.Events().size(), 1u);
    EXPECT_EQ(feedback.Events()[0].text, "");
    EXPECT_FALSE(feedback.Events()[0].windowVisible);
    EXPECT_TRUE(IsWindowVisible(window.Get()));
    EXPECT_TRUE(PathExists(generatedLog));
    EXPECT_EQ(ReadBytes(generatedLog), "");
}

// A folder too deep for the current directory (and the compiler) goes by its short form: the
// compiler runs, that folder's log is shown, and later programs still start.
TEST_F(Commands, ADeepFolderGoesByItsShortFormAndLaterProgramsStillStart) {
    std::string deep = temp.Path();
    while (deep.size() < 300) {
        deep += "a folder of a deep project\\";
        CreateDirectoryW((L"\\\\?\\" + ToWide(deep)).c_str(), nullptr);
    }
    CreateDirectoryW((L"\\\\?\\" + ToWide(deep + "test")).c_str(), nullptr);
    WriteBytes(testFile, "[quarex]\r\nsource=" + deep + "util.bas\r\n");
    WriteStandinPlan(compiler, "exit=1\r\nwrite={source-base}.log\r\ncontent=deep(1): error 477\r\n");
    RunTestsCommand(TestSettings, window.Screen());
    AddRoutinesCommand(TestSettings, window.Screen());

    EXPECT_EQ(feedback.Messages(), std::vector<std::string>{"deep(1): error 477"});
    EXPECT_EQ(feedback.Beeps(), 1);
    EXPECT_EQ(StandinRecords(quarex).size(), 2u);
    std::string entered = GetCurrentDir();
    EXPECT_LT(entered.size(), 260u);

    // A folder without a short form (here: one that is not there) is named; nothing compiles.
    WriteBytes(testFile, "[quarex]\r\nsource=" + deep + "gone\\util.bas\r\n");
    RunTestsCommand(TestSettings, window.Screen());
    std::string report = "Compile failed\r\nThe folder " + deep + "gone\\test\\ is too deep for the compiler";
    EXPECT_EQ(feedback.Messages().back().rfind(report, 0), 0u);
    EXPECT_EQ(StandinRecords(compiler).size(), 1u);
    EXPECT_EQ(GetCurrentDir(), entered);
}

// A virus scanner opens the new log for a moment right after the compiler ends.
TEST_F(Commands, ALogHeldForAMomentAfterTheCompilerEndsIsShownWhole) {
    std::string scanner = temp / "PB Win 10\\scanner.exe";
    InstallStandin(scanner);
    std::string holding = temp / "holding";
    WriteStandinPlan(scanner, "hold={source}\r\nholding=" + holding + "\r\nsleep=300\r\n");
    WriteStandinPlan(compiler, "exit=1\r\nwrite={source-base}.log\r\ncontent=my util_test.bas(3): error 477\r\nstart=" +
                                   Quoted(scanner) + " \"{source-base}.log\"\r\nthenwaitfor=" + holding + "\r\n");
    RunTestsCommand(TestSettings, window.Screen());
    EXPECT_EQ(feedback.Messages(), std::vector<std::string>{"my util_test.bas(3): error 477"});
    EXPECT_EQ(StandinRecords(scanner).size(), 1u);
}

TEST_F(Commands, TheOutputLineNamesTheGeneratedSource) {
    MakeFolder(temp / "gen dir");
    std::string output = temp / "gen dir\\x_test.bas";
    WriteBytes(testFile, "[quarex]\r\nsource=" + source + "\r\noutput=" + output + "\r\n");
    CompilerBuildsTheTestProgram();
    RunTestsCommand(TestSettings, window.Screen());

    std::vector<StandinRecord> compile = StandinRecords(compiler);
    ASSERT_EQ(compile.size(), 1u);
    EXPECT_EQ(compile[0].command, Compiled(output));
    EXPECT_EQ(compile[0].directory, temp / "gen dir");
    std::vector<StandinRecord> program = WaitForStandinRecords(temp / "gen dir\\x_test.exe", 1);
    ASSERT_EQ(program.size(), 1u);
    EXPECT_EQ(program[0].command, Quoted(temp / "gen dir\\x_test"));
    EXPECT_TRUE(feedback.Events().empty());
    WaitUntilDeletable(temp / "gen dir\\x_test.exe");
}

// A "." left in the generated source's name, or one in a folder name, is no extension: the
// program the compiler built from that source is the one that starts, and a failed compile shows
// the source's own log, never the source itself.
TEST_F(Commands, DotsInNamesAndFoldersStartTheProgramBuiltAndShowItsLog) {
    WriteBytes(testFile, "[quarex]\r\nsource=" + (temp / "my src\\a.b.bas") + "\r\n");
    CompilerBuildsTheTestProgram();
    RunTestsCommand(TestSettings, window.Screen());
    std::string dotted = generatedFolder + "a.b_test.exe";
    std::vector<StandinRecord> program = WaitForStandinRecords(dotted, 1);
    ASSERT_EQ(program.size(), 1u);
    EXPECT_EQ(program[0].command, Quoted(dotted));
    EXPECT_TRUE(feedback.Events().empty());
    WaitUntilDeletable(dotted);

    // A generated source without an extension, in a folder with a dot (the "my.exe" trap beside
    // that folder must not start), lying beside the program built from it: that program starts,
    // not the source (which Windows would pass over for the ".exe" and Wine would try to run).
    MakeFolder(temp / "my.dir");
    std::string output = temp / "my.dir\\util";
    WriteBytes(output, "' the generated test source\r\n");
    WriteBytes(testFile, "[quarex]\r\nsource=" + source + "\r\noutput=" + output + "\r\n");
    RunTestsCommand(TestSettings, window.Screen());
    program = WaitForStandinRecords(output + ".exe", 1);
    ASSERT_EQ(program.size(), 1u);
    EXPECT_EQ(program[0].command, Quoted(output + ".exe"));
    EXPECT_TRUE(feedback.Events().empty());
    WaitUntilDeletable(output + ".exe");

    WriteStandinPlan(compiler, "exit=1\r\nwrite={source-base}.log\r\ncontent=util(3): error 477\r\n");
    RunTestsCommand(TestSettings, window.Screen());
    EXPECT_EQ(feedback.Messages(), std::vector<std::string>{"util(3): error 477"});
    EXPECT_EQ(ReadBytes(output), "' the generated test source\r\n");
}

// A current test file that is not there gives no generated source: the failed compile shows an
// empty box and leaves no file named ".log" in the current folder.
TEST_F(Commands, NoGeneratedSourceMakesNoLogFile) {
    TestSettings.active = temp / "my src\\gone.test";
    WriteStandinPlan(compiler, "exit=1\r\n");
    RunTestsCommand(TestSettings, window.Screen());

    std::vector<StandinRecord> compile = StandinRecords(compiler);
    ASSERT_EQ(compile.size(), 1u);
    EXPECT_EQ(compile[0].command, Compiled(""));
    EXPECT_EQ(feedback.Messages(), std::vector<std::string>{""});
    for (const std::string& name : NamesMatching(temp / "*")) EXPECT_NE(name, ".log");
    EXPECT_FALSE(PathExists(temp / ".log"));
}

// A program path stored with its own quotes (by hand, or by another version) is used as it stands.
TEST_F(Commands, ProgramPathInItsOwnQuotesStarts) {
    TestSettings.quarex = Quoted(quarex);
    AddRoutinesCommand(TestSettings, window.Screen());
    std::vector<StandinRecord> tool = StandinRecords(quarex);
    ASSERT_EQ(tool.size(), 1u);
    EXPECT_EQ(tool[0].command, Quoted(quarex) + " " + Quoted(testFile) + " /add");
    EXPECT_EQ(feedback.Beeps(), 1);
    EXPECT_TRUE(feedback.Messages().empty());
}

TEST_F(Commands, GenerateFailureStopsBeforeCompiling) {
    WriteStandinPlan(quarex, "exit=2\r\n");
    RunTestsCommand(TestSettings, window.Screen());
    EXPECT_EQ(feedback.Messages(), std::vector<std::string>{"Generate failed\r\nTest file was not found"});
    EXPECT_TRUE(StandinRecords(compiler).empty());
    EXPECT_EQ(GetCurrentDir(), WithoutTrailingBackslash(temp.Path()));
}

TEST_F(Commands, CompilerOrTestProgramThatCannotStartIsReported) {
    std::string reason = SystemErrorText(ERROR_FILE_NOT_FOUND);
    // The compiler did not build the test program.
    RunTestsCommand(TestSettings, window.Screen());
    std::string absentCompiler = temp / "PB Win 10\\absent.exe";
    TestSettings.activeCompilerPath = absentCompiler;
    RunTestsCommand(TestSettings, window.Screen());

    EXPECT_EQ(feedback.Messages(), (std::vector<std::string>{
                                       "Could not start " + generatedFolder + "my util_test\r\n" + reason,
                                       "Compile failed\r\nCould not start " + absentCompiler + "\r\n" + reason,
                                   }));
    EXPECT_EQ(StandinRecords(quarex).size(), 2u);
    EXPECT_EQ(StandinRecords(compiler).size(), 1u);
    EXPECT_EQ(GetCurrentDir(), WithoutTrailingBackslash(generatedFolder));
}

// A test file from elsewhere steers nothing: a generated source path with a double quote (which
// would end the quoted path and add arguments) or a NUL (which would cut the log's name to
// evil.dll) is refused once the framework tool has run.
TEST_F(Commands, GeneratedSourcePathWithAQuoteOrANulIsRefused) {
    MakeFolder(temp / "gen");
    WriteStandinPlan(compiler, "exit=1\r\n");
    for (const std::string& output :
         {temp / "gen\\x\" /EVIL=1 \"y_test.bas", temp / std::string_view("gen\\evil.dll\0.bas", 17)}) {
        WriteBytes(testFile, "[quarex]\r\noutput=" + output + "\r\n");
        RunTestsCommand(TestSettings, window.Screen());
    }
    std::string refused = UnusableGeneratedSourceReport(testFile);
    EXPECT_NE(refused.find("cannot be used"), std::string::npos);
    EXPECT_EQ(feedback.Messages(), (std::vector<std::string>{refused, refused}));
    EXPECT_EQ(StandinRecords(quarex).size(), 2u);
    EXPECT_TRUE(StandinRecords(compiler).empty());
    EXPECT_FALSE(PathExists(temp / "gen\\evil.dll"));
    EXPECT_EQ(GetCurrentDir(), WithoutTrailingBackslash(temp.Path()));
}

TEST_F(Commands, RelativeGeneratedSourceStaysOnTheCurrentDrive) {
    // "zone\test\" is a folder below the current one, not drive Z:.
    MakeFolder(temp / "zone");
    MakeFolder(temp / "zone\\test");
    WriteBytes(testFile, "[quarex]\r\nsource=zone\\util.bas\r\n");
    WriteStandinPlan(compiler, "exit=1\r\n");
    RunTestsCommand(TestSettings, window.Screen());

    std::vector<StandinRecord> compile = StandinRecords(compiler);
    ASSERT_EQ(compile.size(), 1u);
    EXPECT_EQ(compile[0].command, Compiled("zone\\test\\util_test.bas"));
    EXPECT_EQ(compile[0].directory, temp / "zone\\test");
    EXPECT_TRUE(PathExists(temp / "zone\\test\\util_test.log"));
}

}  // namespace
