// While the tool waits for an outside program: what the user does with the real keyboard and
// mouse (SendInput), what other programs send, and the way out of a program that never ends.
#include <gtest/gtest.h>

#include <string>

#include "platform/ansi.h"
#include "standin_support.h"
#include "tool_driver.h"
#include "ui/control_ids.h"
#include "workbench.h"

namespace {

// A file that is never created: a stand-in waiting for it runs until the test ends it (or
// gives up after a minute).
std::string NeverEnding(const ToolCase& tool) { return "waitfor=" + tool / "never" + "\r\n"; }

// The process has ended (or was never there).
bool ProcessGone(unsigned processId) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return true;
    bool gone = WaitForSingleObject(process, kWaitLimitMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return gone;
}

// Waits for the question a close during a run asks; gives its text.
testing::AssertionResult WaitForQuestion(ToolCase& tool, HWND& box, std::wstring& text) {
    testing::AssertionResult shown = tool.WaitForMessageBox(box, text);
    if (!shown) return shown;
    if (!GetDlgItem(box, IDYES) || !GetDlgItem(box, IDNO) || GetDlgItem(box, IDOK))
        return testing::AssertionFailure() << "the box has not just Yes and No";
    if ((StyleOf(GetDlgItem(box, IDNO)) & BS_TYPEMASK) != BS_DEFPUSHBUTTON ||
        (StyleOf(GetDlgItem(box, IDYES)) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        return testing::AssertionFailure() << "No is not the default";
    return testing::AssertionSuccess();
}

testing::AssertionResult Answer(HWND box, int button) {
    if (!PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0)) return testing::AssertionFailure() << "no button";
    if (!WaitUntil([&] { return !IsWindow(box); })) return testing::AssertionFailure() << "the box stayed";
    return testing::AssertionSuccess();
}

}  // namespace

TEST(Waiting, AClickOnRunTestsDuringARunDoesNothingAndADropMeanwhileActsAfterIt) {
    if (!GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")) GTEST_SKIP() << "drops need Wine";
    ASSERT_TRUE(CanDropThroughX11());
    ToolCase tool;
    Workbench bench(tool);
    std::string other = tool / "src\\B.bas";
    WriteBytes(other, "' another source\r\n");
    std::string ended = tool / "run ended";
    ASSERT_EQ(bench.StartAddRoutinesRun(tool, "sleep=7000\r\nwrite=" + ended + "\r\n").size(), 1u);
    HWND main = tool.Main();

    // During the run: a click on "&Run tests", then B.bas dropped on the drop area.
    ASSERT_TRUE(BringToFront(main));
    ASSERT_TRUE(ClickAt(CentreOf(GetDlgItem(main, IDC_RUN_TESTS))));
    ASSERT_TRUE(DropFiles(CentreOf(GetDlgItem(main, IDC_DROP_AREA)), {other}));
    WriteStandinPlan(bench.quarex, "exit=2\r\n");
    EXPECT_FALSE(PathExists(ended)) << "the run was over before the click and the drop";
    EXPECT_EQ(TextOf(GetDlgItem(main, IDC_TEST_FILE)), ToWide(bench.testFile)) << "the drop acted inside the run";

    // After it: the drop has made B's test file current, once; the click has started nothing.
    std::string otherTest = tool / "src\\B.test";
    EXPECT_TRUE(WaitUntil([&] { return TextOf(GetDlgItem(main, IDC_TEST_FILE)) == ToWide(otherTest); }));
    EXPECT_TRUE(PathExists(ended));
    EXPECT_FALSE(WaitUntil([&] { return StandinRecords(bench.quarex).size() > 1; }, 2000))
        << "the click made during the run ran \"&Run tests\" afterwards";
    EXPECT_EQ(FindDialog(tool.ProcessId(), L"PowerBASIC"), nullptr);
    EXPECT_NE(ReadBytes(tool.SettingsPath()).find("active=" + otherTest + "\r\n"), std::string::npos);
}

TEST(Waiting, AnEnterTypedDuringAFailingRunLeavesTheFailureBoxOpen) {
    ToolCase tool;
    Workbench bench(tool);
    WriteBytes(tool.SettingsPath(), bench.SettingsWithPbwin());
    WriteStandinPlan(bench.quarex, "sleep=3000\r\nexit=2\r\n");
    ASSERT_TRUE(tool.Start());
    HWND main = tool.Main();
    ASSERT_TRUE(PostClick(main, IDC_RUN_TESTS));
    ASSERT_EQ(WaitForStandinRecords(bench.quarex, 1).size(), 1u);
    ASSERT_TRUE(BringToFront(main));
    ASSERT_TRUE(PressKeys({VK_RETURN}));

    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(tool.WaitForMessageBox(box, text));
    EXPECT_EQ(text, L"Generate failed\r\nTest file was not found");
    EXPECT_FALSE(WaitUntil([&] { return !IsWindow(box); }, 2000)) << "the Enter typed during the run closed the box";
    // The same key typed while the box is up closes it.
    ASSERT_TRUE(BringToFront(box));
    ASSERT_TRUE(PressKeys({VK_RETURN}));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_EQ(StandinRecords(bench.quarex).size(), 1u);
}

// The program has started a helper that never ends either, and the Configure dialog is open.
TEST(Waiting, AltF4DuringARunThatNeverEndsAsksAndYesEndsTheProgramWhatItStartedAndTheTool) {
    ToolCase tool;
    Workbench bench(tool);
    std::string helper = bench.tools + "helper.exe";
    InstallStandin(helper);
    WriteStandinPlan(helper, NeverEnding(tool));
    WriteBytes(tool.SettingsPath(), bench.SettingsWithPbwin());
    WriteStandinPlan(bench.quarex, "start=" + Quoted(helper) + "\r\nthenwaitfor=" + tool / "never" + "\r\n");
    ASSERT_TRUE(tool.Start());
    HWND main = tool.Main();
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.OpenConfigure(dialog));
    ASSERT_TRUE(PostClick(main, IDC_ADD_ROUTINES));
    std::vector<StandinRecord> runs = WaitForStandinRecords(bench.quarex, 1);
    std::vector<StandinRecord> helpers = WaitForStandinRecords(helper, 1);
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_EQ(helpers.size(), 1u);
    const std::wstring question = ToWide(bench.quarex) + L" is still running.\r\nEnd it and close Test Builder?";

    // No: the tool goes on waiting, and the program runs on.
    ASSERT_TRUE(BringToFront(main));
    ASSERT_TRUE(PressKeys({VK_MENU, VK_F4}));
    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(WaitForQuestion(tool, box, text));
    EXPECT_EQ(text, question);
    ASSERT_TRUE(Answer(box, IDNO));
    EXPECT_TRUE(Sync(main));
    EXPECT_TRUE(tool.Running());
    HANDLE program = OpenProcess(SYNCHRONIZE, FALSE, runs[0].processId);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(WaitForSingleObject(program, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "No ended the program";
    CloseHandle(program);
    EXPECT_EQ(FindDialog(tool.ProcessId(), L"PowerBASIC"), nullptr);

    // Yes: the program and its helper end, and the whole tool with exit code 0, reporting nothing.
    ASSERT_TRUE(BringToFront(main));
    ASSERT_TRUE(PressKeys({VK_MENU, VK_F4}));
    ASSERT_TRUE(WaitForQuestion(tool, box, text));
    EXPECT_EQ(text, question);
    ASSERT_TRUE(Answer(box, IDYES));
    EXPECT_TRUE(ProcessGone(runs[0].processId)) << "the program still runs";
    EXPECT_TRUE(ProcessGone(helpers[0].processId)) << "the program's helper still runs";
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.WaitForExit(exitCode)) << "the tool stayed (with the Configure dialog?)";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(StandinRecords(bench.quarex).size(), 1u);
}

TEST(Waiting, EscDuringARunAsksAndYesStopsTheCommandQuietlyAndTheToolGoesOn) {
    ToolCase tool;
    Workbench bench(tool);
    WriteBytes(tool.SettingsPath(), bench.SettingsWithPbwin());
    WriteStandinPlan(bench.quarex, NeverEnding(tool));
    ASSERT_TRUE(tool.Start());
    HWND main = tool.Main();
    ASSERT_TRUE(PostClick(main, IDC_RUN_TESTS));
    std::vector<StandinRecord> runs = WaitForStandinRecords(bench.quarex, 1);
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_TRUE(BringToFront(main));
    ASSERT_TRUE(PressKeys({VK_ESCAPE}));
    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(WaitForQuestion(tool, box, text));
    EXPECT_EQ(text, ToWide(bench.quarex) + L" is still running.\r\nEnd it?");
    ASSERT_TRUE(Answer(box, IDYES));
    EXPECT_TRUE(ProcessGone(runs[0].processId)) << "the program still runs";
    // No compile, no report; the next command runs as usual.
    EXPECT_TRUE(Sync(main));
    EXPECT_EQ(FindDialog(tool.ProcessId(), L"PowerBASIC"), nullptr);
    EXPECT_TRUE(StandinRecords(bench.pbwin).empty());
    WriteStandinPlan(bench.quarex, "exit=2\r\n");
    ASSERT_TRUE(PostClick(main, IDC_SEQUENCE_TESTS));
    ASSERT_TRUE(tool.WaitForMessageBox(box, text));
    EXPECT_EQ(text, L"Sequence failed\r\nTest file was not found");
    EXPECT_TRUE(tool.DismissMessageBox(box));
}

TEST(Waiting, AQuitPostedDuringARunEndsTheToolAfterIt) {
    ToolCase tool;
    Workbench bench(tool);
    std::string ended = tool / "run ended";
    ASSERT_EQ(bench.StartAddRoutinesRun(tool, "sleep=2000\r\nwrite=" + ended + "\r\n").size(), 1u);
    HWND main = tool.Main();

    // Mouse moves over the window meanwhile, which the wait takes off the queue.
    ASSERT_TRUE(PostThreadMessageW(GetWindowThreadProcessId(main, nullptr), WM_QUIT, 0, 0));
    POINT centre = CentreOf(GetDlgItem(main, IDC_DROP_AREA));
    for (int step = 0; step < 10; ++step) {
        SetCursorPos(centre.x + step, centre.y);
        Sleep(20);
    }
    EXPECT_TRUE(Sync(main));
    EXPECT_TRUE(tool.Running()) << "the tool ended inside the run";
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.WaitForExit(exitCode)) << "the quit was lost";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(PathExists(ended));
}

TEST(Waiting, ASystemCommandSentDuringARunActsAtOnceAndIsNotDoneAgainAfterIt) {
    ToolCase tool;
    Workbench bench(tool);
    std::string ended = tool / "run ended";
    ASSERT_EQ(bench.StartAddRoutinesRun(tool, "sleep=3000\r\nwrite=" + ended + "\r\n").size(), 1u);
    HWND main = tool.Main();

    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0, SMTO_NORMAL, kWaitLimitMs, &answer), 0);
    EXPECT_TRUE(IsIconic(main)) << "the minimise waited for the end of the run";
    ShowWindow(main, SW_RESTORE);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main); }));
    EXPECT_FALSE(PathExists(ended)) << "the run was over before the system command";

    ASSERT_TRUE(WaitUntil([&] { return PathExists(ended); }));
    EXPECT_TRUE(Sync(main));
    EXPECT_FALSE(WaitUntil([&] { return IsIconic(main) != FALSE; }, 1000)) << "the minimise was done again";
}

TEST(Waiting, WhenTheProgramEndsWhileTheQuestionIsUpNoGoesOnAsIfNothingWasAskedAndYesStillCloses) {
    ToolCase tool;
    Workbench bench(tool);
    WriteBytes(tool.SettingsPath(), bench.SettingsWithPbwin());
    std::string release = tool / "release";
    WriteStandinPlan(bench.quarex, "waitfor=" + release + "\r\nexit=3\r\n");
    ASSERT_TRUE(tool.Start());
    HWND main = tool.Main();

    // The program ends (failing) while the question is up; the answer decides what follows.
    auto askAndEndMeanwhile = [&](size_t run, int answer) -> testing::AssertionResult {
        DeleteFileW(ToWide(release).c_str());
        if (!PostClick(main, IDC_ADD_ROUTINES)) return testing::AssertionFailure() << "no click";
        std::vector<StandinRecord> runs = WaitForStandinRecords(bench.quarex, run);
        if (runs.size() != run) return testing::AssertionFailure() << "the program did not start";
        if (!PostSystemClose(main)) return testing::AssertionFailure() << "no close";
        HWND box = nullptr;
        std::wstring text;
        testing::AssertionResult asked = WaitForQuestion(tool, box, text);
        if (!asked) return asked;
        WriteBytes(release, "");
        if (!ProcessGone(runs.back().processId)) return testing::AssertionFailure() << "the program did not end";
        return Answer(box, answer);
    };

    // No: the run's failure is reported as if nothing had been asked, and the tool goes on.
    ASSERT_TRUE(askAndEndMeanwhile(1, IDNO));
    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(tool.WaitForMessageBox(box, text));
    EXPECT_EQ(text, L"Add tests failed\r\nTest file did not include a [quarex] directive on the first line");
    ASSERT_TRUE(tool.DismissMessageBox(box));
    EXPECT_TRUE(tool.Running());

    // Yes: the tool closes, reporting nothing.
    ASSERT_TRUE(askAndEndMeanwhile(2, IDYES));
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.WaitForExit(exitCode)) << "the tool stayed (a report of the run is up?)";
    EXPECT_EQ(exitCode, 0u);
}
