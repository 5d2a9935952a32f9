// The commands when things go wrong around them: a test file held by another process, outside
// programs that crash, a compiler log of 20 MB, and paths with spaces in every place.
#include <gtest/gtest.h>

#include <cstdlib>

#include "workflow/settings_file.h"
#include "fault_support.h"
#include "platform/ansi.h"
#include "platform/paths.h"
#include "platform/launch.h"
#include "standin_support.h"
#include "test_support.h"
#include "workflow/commands.h"
#include "commands_fixture.h"
#include "core/command_lines.h"
#include "core/report_texts.h"
#include "workflow_support.h"

// The command tests' own fixture, for the faults around the commands.
using CommandFaults = CommandsFixture;

TEST_F(CommandFaults, TestFileHeldDuringRunTestsGivesTheBareGeneratedName) {
    // The test file reads as empty while another program holds it (past the second it is tried
    // again), so the generated source is "test\_test.bas", relative: the compiler gets that name,
    // "test\" is entered only where there is one, and the log is looked for in that folder only.
    WriteStandinPlan(compiler, "exit=1\r\n");
    HeldByAnotherProcess holder(testFile);
    ASSERT_TRUE(holder.Held());

    // No "test" folder below the current one: the directory stays.
    RunTestsCommand(TestSettings, window.Screen());
    std::vector<StandinRecord> generate = StandinRecords(quarex);
    ASSERT_EQ(generate.size(), 1u);
    EXPECT_EQ(generate[0].command, Quoted(quarex) + " " + Quoted(testFile));
    std::vector<StandinRecord> compile = StandinRecords(compiler);
    ASSERT_EQ(compile.size(), 1u);
    EXPECT_EQ(compile[0].command, Compiled("test\\_test.bas"));
    EXPECT_EQ(compile[0].directory, WithoutTrailingBackslash(temp.Path()));
    ASSERT_EQ(feedback.Events().size(), 1u);
    EXPECT_EQ(feedback.Events()[0].text, "");
    EXPECT_FALSE(feedback.Events()[0].windowVisible);
    EXPECT_FALSE(PathExists(temp / "_test.log")) << "a log was made where the compiler happened to run";

    // With one, the compiler runs in it and the empty log is left there.
    MakeFolder(temp / "test");
    RunTestsCommand(TestSettings, window.Screen());
    compile = StandinRecords(compiler);
    ASSERT_EQ(compile.size(), 2u);
    EXPECT_EQ(compile[1].command, Compiled("test\\_test.bas"));
    EXPECT_EQ(compile[1].directory, temp / "test");
    EXPECT_TRUE(PathExists(temp / "test\\_test.log"));
    EXPECT_EQ(GetCurrentDir(), temp / "test");

    // A compile that succeeds: the test program "test\_test" is not there to start, and that
    // is reported.
    WriteStandinPlan(compiler, "exit=0\r\n");
    feedback.Clear();
    RunTestsCommand(TestSettings, window.Screen());
    ASSERT_EQ(feedback.Messages().size(), 1u);
    EXPECT_EQ(feedback.Messages()[0].rfind("Could not start test\\_test\r\n", 0), 0u) << feedback.Messages()[0];
    EXPECT_EQ(StandinRecords(compiler).size(), 3u);

    holder.Release();
    EXPECT_EQ(ReadBytes(testFile), "[quarex]\r\nsource=" + source + "\r\n");
    EXPECT_TRUE(IsWindowVisible(window.Get()));
}

TEST_F(CommandFaults, OutsideProgramsThatCrashAreFailures) {
    // A crash ends the program with the exception's code (0xC0000005), which is no success and
    // no code of the framework tool: the failure line stands alone.
    WriteStandinPlan(quarex, "crash=1\r\n");
    AddRoutinesCommand(TestSettings, window.Screen());
    SequenceTestsCommand(TestSettings, window.Screen());
    RunTestsCommand(TestSettings, window.Screen());
    EXPECT_EQ(feedback.Messages(),
              (std::vector<std::string>{"Add tests failed\r\n", "Sequence failed\r\n", "Generate failed\r\n"}));
    EXPECT_EQ(feedback.Beeps(), 0);
    EXPECT_EQ(StandinRecords(quarex).size(), 3u);
    EXPECT_TRUE(StandinRecords(compiler).empty());

    // The compiler crashing after writing part of its log: the log is shown.
    WriteStandinPlan(quarex, "exit=0\r\n");
    WriteStandinPlan(compiler, "write={source-base}.log\r\ncontentline=my util_test.bas(3): error 477\r\ncrash=1\r\n");
    feedback.Clear();
    RunTestsCommand(TestSettings, window.Screen());
    ASSERT_EQ(feedback.Events().size(), 1u);
    EXPECT_EQ(feedback.Events()[0].text, "my util_test.bas(3): error 477\r\n");
    EXPECT_FALSE(feedback.Events()[0].windowVisible);
    EXPECT_TRUE(IsWindowVisible(window.Get()));
    EXPECT_FALSE(PathExists(testProgram));

    // Crashing before it wrote anything: an empty box, and an empty log left behind.
    DeleteFileW(ToWide(generatedLog).c_str());
    WriteStandinPlan(compiler, "crash=1\r\n");
    feedback.Clear();
    RunTestsCommand(TestSettings, window.Screen());
    ASSERT_EQ(feedback.Events().size(), 1u);
    EXPECT_EQ(feedback.Events()[0].text, "");
    EXPECT_TRUE(PathExists(generatedLog));
    EXPECT_EQ(ReadBytes(generatedLog), "");

    // The test program is started, not waited for: its crash is its own and shows nothing here.
    WriteStandinPlan(compiler, "copyself={source-base}.exe\r\n");
    WriteStandinPlan(testProgram, "crash=1\r\n");
    feedback.Clear();
    RunTestsCommand(TestSettings, window.Screen());
    EXPECT_EQ(WaitForStandinRecords(testProgram, 1).size(), 1u);
    EXPECT_TRUE(feedback.Events().empty());
    WaitUntilDeletable(testProgram);
}

TEST_F(CommandFaults, CompilerLogOfTwentyMegabytesShowsItsLastLinesByteForByte) {
    // The log lies where the compiler leaves it. Far taller than any screen, it is shown from
    // its end, of which only the last bytes are read: a first line says earlier lines are left
    // out and names the log, then its last lines' bytes go to the message unchanged, NUL, Ctrl-Z
    // and a LF alone included.
    std::string log;
    log.reserve((20u << 20) + 100);
    for (unsigned line = 1; log.size() < (20u << 20); ++line)
        log += "my util_test.bas(" + std::to_string(line) + "): error 477: Syntax error in caf\xE9 line\r\n";
    const char tail[] = "\x1A after Ctrl-Z\0after NUL\nafter LF";
    log.append(tail, sizeof tail - 1);
    WriteBytes(generatedLog, log);
    ASSERT_EQ(ReadBytes(generatedLog).size(), log.size());
    WriteStandinPlan(compiler, "exit=1\r\n");

    RunTestsCommand(TestSettings, window.Screen());
    ASSERT_EQ(feedback.Events().size(), 1u);
    const FeedbackEvent& shown = feedback.Events()[0];
    size_t firstEnd = shown.text.find("\r\n");
    ASSERT_NE(firstEnd, std::string::npos);
    EXPECT_EQ(shown.text.substr(0, firstEnd), "Earlier lines are not shown; the whole log is in " + generatedLog);
    std::string rest = shown.text.substr(firstEnd + 2);
    ASSERT_GE(rest.size(), sizeof tail - 1);
    EXPECT_TRUE(log.compare(log.size() - rest.size(), rest.size(), rest) == 0) << "the lines shown differ from the log's";
    EXPECT_EQ(log[log.size() - rest.size() - 1], '\n') << "the first line shown is not whole";
    EXPECT_FALSE(shown.windowVisible);
    EXPECT_TRUE(IsWindowVisible(window.Get()));
    EXPECT_EQ(ReadBytes(generatedLog).size(), log.size());
}

TEST_F(CommandFaults, PathsWithSpacesInEveryPlace) {
    // The settings name a framework tool, a compiler, an include folder and an output folder
    // with spaces; the dropped source and its test file have them too.
    std::string output = temp / "gen out";
    WriteBytes(OwnSettingsFile(), "directory=specific\r\noutput=" + output + "\r\ncompiler=pbwin\r\npbwin=" + compiler +
                                   "\r\nquarex=" + quarex + "\r\ninclude=2\r\nincl2=" + include + "\r\n");
    TestSettings = SettingsRecord{};
    LoadSettings(TestSettings);
    EXPECT_EQ(TestSettings.activeCompilerPath, compiler);
    EXPECT_EQ(TestSettings.activeIncludeDir, include);

    DeleteFileW(ToWide(testFile).c_str());
    DeliverDrop(window.Get(), {source});
    std::string generated = output + "\\my util_test.bas";
    EXPECT_EQ(ReadBytes(testFile), "[quarex]\r\nsource=" + source + "\r\noutput=" + generated + "\r\n");
    EXPECT_EQ(window.LabelText(), testFile);
    EXPECT_EQ(TestSettings.output, output + "\\");
    EXPECT_EQ(ReadBytes(OwnSettingsFile()), FormatSettingsFile(TestSettings));

    WriteStandinPlan(compiler, "copyself={source-base}.exe\r\n");
    RunTestsCommand(TestSettings, window.Screen());
    std::vector<StandinRecord> generate = StandinRecords(quarex);
    ASSERT_EQ(generate.size(), 1u);
    EXPECT_EQ(generate[0].command, Quoted(quarex) + " " + Quoted(testFile));
    std::vector<StandinRecord> compile = StandinRecords(compiler);
    ASSERT_EQ(compile.size(), 1u);
    EXPECT_EQ(compile[0].command, Compiled(generated));
    EXPECT_EQ(compile[0].directory, output);
    std::string program = output + "\\my util_test.exe";
    std::vector<StandinRecord> started = WaitForStandinRecords(program, 1);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].command, Quoted(output + "\\my util_test"));
    EXPECT_EQ(started[0].directory, output);
    EXPECT_TRUE(feedback.Events().empty());

    // A failed compile's log, whose name has a space, is found in that folder.
    WriteStandinPlan(compiler, "exit=1\r\nwrite={source-base}.log\r\ncontent=my util_test.bas(1): error");
    RunTestsCommand(TestSettings, window.Screen());
    EXPECT_EQ(feedback.Messages(), std::vector<std::string>{"my util_test.bas(1): error"});
    WaitUntilDeletable(program);
}
