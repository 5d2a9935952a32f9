// The real TestBuilder.exe's three commands, clicked from outside, with stand-in programs in
// place of the framework tool, the compilers and the test program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/ansi.h"
#include "standin_support.h"
#include "tool_driver.h"
#include "workbench.h"
#include "ui/control_ids.h"

namespace {

// Whether the tool shows no message box once everything posted so far is handled.
bool NoMessageBox(const ToolCase& tool) {
    return Sync(tool.Main()) && FindDialog(tool.ProcessId(), L"PowerBASIC") == nullptr;
}

// Clicks a command button and waits for its message box; gives the text and presses OK.
testing::AssertionResult ClickAndReadBox(ToolCase& tool, int button, std::wstring& text) {
    if (!PostClick(tool.Main(), button)) return testing::AssertionFailure() << "could not click " << button;
    HWND box = nullptr;
    testing::AssertionResult shown = tool.WaitForMessageBox(box, text);
    if (!shown) return shown;
    return tool.DismissMessageBox(box);
}

}  // namespace

TEST(Commands, AddRoutinesAndSequenceTestsRunTheToolHiddenAndReportItsExitCode) {
    ToolCase tool;
    Workbench bench(tool);
    WriteBytes(tool.SettingsPath(), "active=" + bench.testFile + "\r\nquarex=" + bench.quarex + "\r\n");
    ASSERT_TRUE(tool.Start());

    // Success: only the default beep, no box.
    WriteStandinPlan(bench.quarex, "exit=0\r\n");
    ASSERT_TRUE(PostClick(tool.Main(), IDC_ADD_ROUTINES));
    std::vector<StandinRecord> runs = WaitForStandinRecords(bench.quarex, 1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].command, Quoted(bench.quarex) + " \"" + bench.testFile + "\" /add");
    EXPECT_TRUE(runs[0].useShowWindow);
    EXPECT_EQ(runs[0].show, SW_HIDE);
    EXPECT_EQ(runs[0].directory, WithoutSlash(tool.Folder()));
    EXPECT_TRUE(NoMessageBox(tool));

    std::wstring text;
    WriteStandinPlan(bench.quarex, "exit=3\r\n");
    ASSERT_TRUE(ClickAndReadBox(tool, IDC_SEQUENCE_TESTS, text));
    EXPECT_EQ(text, L"Sequence failed\r\nTest file did not include a [quarex] directive on the first line");
    runs = StandinRecords(bench.quarex);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].command, Quoted(bench.quarex) + " \"" + bench.testFile + "\" /seq");
    EXPECT_EQ(runs[1].show, SW_HIDE);

    WriteStandinPlan(bench.quarex, "exit=9\r\n");
    ASSERT_TRUE(ClickAndReadBox(tool, IDC_ADD_ROUTINES, text));
    EXPECT_EQ(text, L"Add tests failed\r\n");

    WriteStandinPlan(bench.quarex, "exit=-5\r\n");
    ASSERT_TRUE(ClickAndReadBox(tool, IDC_SEQUENCE_TESTS, text));
    EXPECT_EQ(text, L"Sequence failed\r\n");

    WriteStandinPlan(bench.quarex, "exit=7\r\n");
    ASSERT_TRUE(ClickAndReadBox(tool, IDC_ADD_ROUTINES, text));
    EXPECT_EQ(text, L"Add tests failed\r\nSource file specified in the test file was not found");
    EXPECT_EQ(StandinRecords(bench.quarex).size(), 5u);

    // Whatever the commands reported, the tool ends with 0 and has saved nothing.
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.CloseAndWait(exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadBytes(tool.SettingsPath()), "active=" + bench.testFile + "\r\nquarex=" + bench.quarex + "\r\n");
}

TEST(Commands, DuringALongRunTheWindowAnswersAndWhatComesMeanwhileActsAfterItInOrder) {
    ToolCase tool;
    Workbench bench(tool);
    // The first run takes 7 s and leaves a mark as it ends.
    std::string ended = tool / "first run ended";
    ASSERT_EQ(bench.StartAddRoutinesRun(tool, "sleep=7000\r\nwrite=" + ended + "\r\ncontent=x\r\n").size(), 1u);
    HWND main = tool.Main();
    DWORD runStarted = GetTickCount();

    // During the run: a click posted to "&Sequence tests", a click sent (not posted) to
    // "&Add routines", as other programs send them, and the close command, which asks.
    ASSERT_TRUE(PostClick(main, IDC_SEQUENCE_TESTS));
    // Windows hands a thread what is sent to it before what is posted, and Wine answers sent
    // messages even inside the wait's sleep: the sent click must come once the tool has taken
    // the posted one, which gives its button the keyboard focus.
    HWND sequence = GetDlgItem(main, IDC_SEQUENCE_TESTS);
    EXPECT_TRUE(WaitUntil([&] {
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread) && thread.hwndFocus == sequence;
    })) << "the posted click was not taken during the run";
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(GetDlgItem(main, IDC_ADD_ROUTINES), BM_CLICK, 0, 0, SMTO_NORMAL, 2000, &answer), 0)
        << "the sent click was not answered during the run";
    ASSERT_TRUE(PostSystemClose(main));
    HWND question = nullptr;
    std::wstring asked;
    ASSERT_TRUE(tool.WaitForMessageBox(question, asked));
    EXPECT_EQ(asked, ToWide(bench.quarex) + L" is still running.\r\nEnd it and close Test Builder?");

    // Five seconds in, the system does not count the window as hung, and it answers at once;
    // nothing of the above has run yet.
    DWORD elapsed = GetTickCount() - runStarted;
    if (elapsed < 5000) Sleep(5000 - elapsed);
    EXPECT_FALSE(IsHungAppWindow(main));
    EXPECT_NE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer), 0)
        << "the window does not answer during the run";
    EXPECT_FALSE(PathExists(ended));
    EXPECT_EQ(StandinRecords(bench.quarex).size(), 1u) << "a click made during the run acted inside it";
    EXPECT_TRUE(tool.Running());
    // "No": the tool goes on as if nothing was asked.
    ASSERT_TRUE(PostMessageW(GetDlgItem(question, IDNO), BM_CLICK, 0, 0));

    // After the run: the posted click, then the sent one, each once.
    WriteStandinPlan(bench.quarex, "exit=0\r\n");
    std::vector<StandinRecord> runs = WaitForStandinRecords(bench.quarex, 3);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_TRUE(PathExists(ended));
    EXPECT_EQ(runs[1].command, Quoted(bench.quarex) + " \"" + bench.testFile + "\" /seq");
    EXPECT_EQ(runs[2].command, Quoted(bench.quarex) + " \"" + bench.testFile + "\" /add");
    EXPECT_TRUE(NoMessageBox(tool));
    EXPECT_TRUE(tool.Running());
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.CloseAndWait(exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(StandinRecords(bench.quarex).size(), 3u);
}

TEST(Commands, MissingSettingsAreReportedBeforeAnythingStarts) {
    ToolCase tool;
    Workbench bench(tool);
    // The active compiler is PBCC, whose path is empty although PBWin's is set.
    WriteBytes(tool.SettingsPath(), "active=" + bench.testFile + "\r\ncompiler=pbcc\r\npbwin=" + bench.pbwin + "\r\n");
    ASSERT_TRUE(tool.Start());
    std::wstring text;
    ASSERT_TRUE(ClickAndReadBox(tool, IDC_ADD_ROUTINES, text));
    EXPECT_EQ(text, L"Please configure Quarex directory first");
    ASSERT_TRUE(ClickAndReadBox(tool, IDC_SEQUENCE_TESTS, text));
    EXPECT_EQ(text, L"Please configure Quarex directory first");
    ASSERT_TRUE(ClickAndReadBox(tool, IDC_RUN_TESTS, text));
    EXPECT_EQ(text, L"Please configure Quarex directory first\r\nPlease configure active compiler first");
    EXPECT_TRUE(StandinRecords(bench.quarex).empty());
    EXPECT_TRUE(StandinRecords(bench.pbwin).empty());
    EXPECT_TRUE(StandinRecords(bench.pbcc).empty());
}

TEST(Commands, RunTestsStopsWhenGenerateFails) {
    ToolCase tool;
    Workbench bench(tool);
    WriteBytes(tool.SettingsPath(), bench.SettingsWithPbwin());
    WriteStandinPlan(bench.quarex, "exit=2\r\n");
    ASSERT_TRUE(tool.Start());
    std::wstring text;
    ASSERT_TRUE(ClickAndReadBox(tool, IDC_RUN_TESTS, text));
    EXPECT_EQ(text, L"Generate failed\r\nTest file was not found");
    std::vector<StandinRecord> runs = StandinRecords(bench.quarex);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].command, Quoted(bench.quarex) + " \"" + bench.testFile + "\"");
    EXPECT_EQ(runs[0].show, SW_HIDE);
    EXPECT_TRUE(StandinRecords(bench.pbwin).empty());
}

TEST(Commands, RunTestsShowsTheCompilerLogWhileTheMainWindowIsHidden) {
    ToolCase tool;
    Workbench bench(tool);
    WriteBytes(tool.SettingsPath(), bench.SettingsWithPbwin() + "include=2\r\nincl1=D:\\one\r\nincl2=D:\\inc two\r\n");
    WriteStandinPlan(bench.quarex, "exit=0\r\n");
    WriteStandinPlan(bench.pbwin, "exit=1\r\nwrite={source-base}.log\r\ncontentline=Error 425 in line 3\r\n"
                                  "content=util_test.bas(3): undefined");
    ASSERT_TRUE(tool.Start());
    HWND main = tool.Main();

    ASSERT_TRUE(PostClick(main, IDC_RUN_TESTS));
    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(tool.WaitForMessageBox(box, text));
    EXPECT_EQ(text, L"Error 425 in line 3\r\nutil_test.bas(3): undefined");
    EXPECT_FALSE(IsWindowVisible(main)) << "the main window is shown beside the compiler's log";
    ASSERT_TRUE(tool.DismissMessageBox(box));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; })) << "the main window did not come back";

    std::vector<StandinRecord> generate = StandinRecords(bench.quarex);
    ASSERT_EQ(generate.size(), 1u);
    EXPECT_EQ(generate[0].command, Quoted(bench.quarex) + " \"" + bench.testFile + "\"");
    EXPECT_EQ(generate[0].show, SW_HIDE);
    std::vector<StandinRecord> compile = StandinRecords(bench.pbwin);
    ASSERT_EQ(compile.size(), 1u);
    EXPECT_EQ(compile[0].command, Quoted(bench.pbwin) + " /I\"D:\\inc two\" /Q /L \"" + bench.generated + "\"");
    EXPECT_EQ(compile[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(compile[0].directory, bench.generatedFolder);
    EXPECT_TRUE(StandinRecords(bench.testProgram).empty());

    DWORD exitCode = 99;
    ASSERT_TRUE(tool.CloseAndWait(exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST(Commands, ALogTallerThanTheScreenShowsItsLastLinesInABoxOnTheScreen) {
    ToolCase tool;
    Workbench bench(tool);
    WriteBytes(tool.SettingsPath(), bench.SettingsWithPbwin());
    WriteStandinPlan(bench.quarex, "exit=0\r\n");
    std::string plan = "exit=1\r\nwrite={source-base}.log\r\n";
    for (int line = 1; line <= 300; ++line)
        plan += "contentline=util_test.bas(" + std::to_string(line) + "): Error 425 in line " + std::to_string(line) +
                "\r\n";
    WriteStandinPlan(bench.pbwin, plan);
    ASSERT_TRUE(tool.Start());

    ASSERT_TRUE(PostClick(tool.Main(), IDC_RUN_TESTS));
    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(tool.WaitForMessageBox(box, text));
    RECT outer = OuterRect(box);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT& work = monitor.rcWork;
    EXPECT_TRUE(outer.left >= work.left && outer.top >= work.top && outer.right <= work.right &&
                outer.bottom <= work.bottom)
        << "box " << outer.left << "," << outer.top << " to " << outer.right << "," << outer.bottom << ", work area "
        << work.right << " x " << work.bottom;

    // One first line that counts the lines left out and names the log, then the log's last
    // lines down to its very last one.
    size_t firstEnd = text.find(L"\r\n");
    ASSERT_NE(firstEnd, std::wstring::npos) << ToAnsi(text);
    std::wstring first = text.substr(0, firstEnd);
    int leftOut = _wtoi(first.c_str());
    EXPECT_EQ(first, std::to_wstring(leftOut) + L" earlier lines are not shown; the whole log is in " +
                         ToWide(bench.generatedFolder + "\\util_test.log"));
    std::wstring rest = text.substr(firstEnd + 2);
    EXPECT_EQ(rest.rfind(L"util_test.bas(" + std::to_wstring(leftOut + 1) + L"): Error 425 in line ", 0), 0u)
        << ToAnsi(rest);
    std::wstring last = L"util_test.bas(300): Error 425 in line 300\r\n";
    EXPECT_EQ(rest.substr(rest.size() - std::min(rest.size(), last.size())), last);
    size_t shown = 0;
    for (size_t at = 0; (at = rest.find(L"\r\n", at)) != std::wstring::npos; at += 2) ++shown;
    EXPECT_EQ(static_cast<size_t>(leftOut) + shown, 300u);
    EXPECT_GE(shown, 10u) << "the box has room for more of the log";
    ASSERT_TRUE(tool.DismissMessageBox(box));
}

TEST(Commands, RunTestsWithoutALogShowsAnEmptyBoxAndLeavesAnEmptyLog) {
    ToolCase tool;
    Workbench bench(tool);
    WriteBytes(tool.SettingsPath(), bench.SettingsWithPbwin());
    WriteStandinPlan(bench.quarex, "exit=0\r\n");
    WriteStandinPlan(bench.pbwin, "exit=2\r\n");
    ASSERT_TRUE(tool.Start());

    ASSERT_TRUE(PostClick(tool.Main(), IDC_RUN_TESTS));
    HWND box = nullptr;
    std::wstring text = L"not read";
    ASSERT_TRUE(tool.WaitForMessageBox(box, text));
    EXPECT_EQ(text, L"");
    EXPECT_FALSE(IsWindowVisible(tool.Main()));
    ASSERT_TRUE(tool.DismissMessageBox(box));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(tool.Main()) != FALSE; }));
    std::string log = bench.generatedFolder + "\\util_test.log";
    EXPECT_TRUE(PathExists(log));
    EXPECT_FALSE(IsDirectory(log));
    EXPECT_EQ(ReadBytes(log), "");
}

TEST(Commands, RunTestsStartsTheCompiledProgramAndLeavesItsFolderCurrent) {
    ToolCase tool;
    Workbench bench(tool);
    // The empty active include directory is passed as two quotes.
    WriteBytes(tool.SettingsPath(), bench.SettingsWithPbwin() + "\r\ninclude=1\r\n");
    WriteStandinPlan(bench.quarex, "exit=0\r\n");
    // The "compiler" builds the test program beside the generated source.
    WriteStandinPlan(bench.pbwin, "exit=0\r\ncopyself={source-base}.exe\r\n");
    ASSERT_TRUE(tool.Start());

    ASSERT_TRUE(PostClick(tool.Main(), IDC_RUN_TESTS));
    std::vector<StandinRecord> program = WaitForStandinRecords(bench.testProgram, 1);
    ASSERT_EQ(program.size(), 1u);
    EXPECT_EQ(program[0].command, Quoted(bench.generatedFolder + "\\util_test"));
    EXPECT_EQ(program[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(program[0].directory, bench.generatedFolder);
    EXPECT_TRUE(NoMessageBox(tool));
    EXPECT_TRUE(IsWindowVisible(tool.Main()));
    std::vector<StandinRecord> compile = StandinRecords(bench.pbwin);
    ASSERT_EQ(compile.size(), 1u);
    EXPECT_EQ(compile[0].command, Quoted(bench.pbwin) + " /I\"\" /Q /L \"" + bench.generated + "\"");

    // A later command inherits the generated source's folder as its current directory.
    ASSERT_TRUE(PostClick(tool.Main(), IDC_ADD_ROUTINES));
    std::vector<StandinRecord> runs = WaitForStandinRecords(bench.quarex, 2);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].command, Quoted(bench.quarex) + " \"" + bench.testFile + "\" /add");
    EXPECT_EQ(runs[1].directory, bench.generatedFolder);
    EXPECT_TRUE(NoMessageBox(tool));
    WaitUntilDeletable(bench.testProgram);
}

TEST(Commands, RunTestsUsesTheCompilerAndIncludeChosenInConfigureAtOnce) {
    ToolCase tool;
    Workbench bench(tool);
    WriteBytes(tool.SettingsPath(), "active=" + bench.testFile + "\r\n");
    WriteStandinPlan(bench.quarex, "exit=0\r\n");
    WriteStandinPlan(bench.pbcc, "exit=1\r\nwrite={source-base}.log\r\ncontent=from pbcc");
    ASSERT_TRUE(tool.Start());

    HWND dialog = nullptr;
    ASSERT_TRUE(tool.OpenConfigure(dialog));
    TypeText(dialog, IDC_PBWIN_PATH, ToWide(bench.pbwin));
    TypeText(dialog, IDC_PBCC_PATH, ToWide(bench.pbcc));
    TypeText(dialog, IDC_QUAREX_PATH, ToWide(bench.quarex));
    TypeText(dialog, IDC_INCL3_PATH, L"D:\\third");
    ASSERT_TRUE(Click(dialog, IDC_PBCC));
    ASSERT_TRUE(Click(dialog, IDC_INCLUDE_3));
    ASSERT_TRUE(PostClick(dialog, IDC_DONE));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the Configure dialog stayed open";
    ASSERT_EQ(FindDialog(tool.ProcessId(), L"PowerBASIC"), nullptr);

    std::wstring text;
    ASSERT_TRUE(ClickAndReadBox(tool, IDC_RUN_TESTS, text));
    EXPECT_EQ(text, L"from pbcc");
    std::vector<StandinRecord> compile = StandinRecords(bench.pbcc);
    ASSERT_EQ(compile.size(), 1u);
    EXPECT_EQ(compile[0].command, Quoted(bench.pbcc) + " /I\"D:\\third\" /Q /L \"" + bench.generated + "\"");
    EXPECT_TRUE(StandinRecords(bench.pbwin).empty());
}
