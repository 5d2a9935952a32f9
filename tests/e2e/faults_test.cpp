// Faults around the real TestBuilder.exe, driven from outside: its settings file held open by
// another process at start and during a save, and a long compiler log in the real message box.
// Crashing programs and paths with spaces in every place are the commands' own: fault_tests.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ansi.h"
#include "standin_support.h"
#include "tool_driver.h"
#include "ui/control_ids.h"

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

void MakeFolder(const std::string& path) { CreateDirectoryW(ToWide(path).c_str(), nullptr); }

// What a save left beside the settings file (its temporary files are named after it).
std::vector<std::string> LeftBesideSettings(const ToolCase& tool) {
    std::vector<std::string> left;
    for (const std::string& name : NamesMatching(tool.Folder() + "*"))
        if (name != "TestBuilder.ini" && name.rfind("TestBuilder.ini", 0) == 0) left.push_back(name);
    return left;
}

// Clicks a button, waits for the message box it opens, reads it and presses OK.
testing::AssertionResult BoxAfterClick(ToolCase& tool, int button, std::wstring& text) {
    if (!PostClick(tool.Main(), button)) return testing::AssertionFailure() << "could not click " << button;
    HWND box = nullptr;
    testing::AssertionResult shown = tool.WaitForMessageBox(box, text);
    if (!shown) return shown;
    return tool.DismissMessageBox(box);
}

// Opens Configure and closes it with "&Done"; returns once the save that follows has run.
testing::AssertionResult OpenAndCloseConfigure(ToolCase& tool, std::wstring_view quarex = {}) {
    HWND dialog = nullptr;
    testing::AssertionResult opened = tool.OpenConfigure(dialog);
    if (!opened) return opened;
    if (!quarex.empty()) TypeText(dialog, IDC_QUAREX_PATH, quarex);
    if (!PostClick(dialog, IDC_DONE)) return testing::AssertionFailure() << "could not click \"&Done\"";
    if (!WaitUntil([&] { return !IsWindow(dialog); })) return testing::AssertionFailure() << "Configure stayed open";
    // The save comes after the dialog's loop; the main window answers only once it is done.
    if (!Sync(tool.Main())) return testing::AssertionFailure() << "the tool did not answer after the save";
    return testing::AssertionSuccess();
}

const wchar_t* const kAllMissing =
    L"Please select a test file first\r\nPlease configure Quarex directory first\r\n"
    L"Please configure active compiler first";

}  // namespace

// Held for longer than the start-up waits for it (about half a second).
TEST(Faults, SettingsFileHeldAtStartIsNotReadAndTheToolGoesOn) {
    ToolCase tool;
    MakeFolder(tool / "tools");
    std::string quarex = tool / "tools\\quarex.exe";
    InstallStandin(quarex);
    std::string testFile = tool / "util.test";
    WriteBytes(testFile, "[quarex]\r\nsource=" + (tool / "util.bas") + "\r\n");
    const std::string onDisk = "active=" + testFile + "\r\ndirectory=relative\r\ncompiler=pbwin\r\npbwin=" + quarex +
                               "\r\nquarex=" + quarex + "\r\ninclude=2\r\nincl2=D:\\inc\r\n";
    WriteBytes(tool.SettingsPath(), onDisk);
    HeldByAnotherProcess holder(tool.SettingsPath());
    ASSERT_TRUE(holder.Held());
    ASSERT_TRUE(tool.Start());

    // Nothing was read: no current test file although the file names one, and the active
    // compiler derived from the empty record is PBCC's empty path.
    EXPECT_EQ(TextOf(GetDlgItem(tool.Main(), IDC_TEST_FILE)), L"");
    std::wstring text;
    ASSERT_TRUE(BoxAfterClick(tool, IDC_RUN_TESTS, text));
    EXPECT_EQ(text, kAllMissing);
    EXPECT_TRUE(StandinRecords(quarex).empty());

    // No default was applied either: the dialog shows what an empty record shows ("relative",
    // "pbwin" and "1" would check Relative, PbWin and 1).
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.OpenConfigure(dialog));
    EXPECT_FALSE(IsChecked(dialog, IDC_RELATIVE));
    EXPECT_TRUE(IsChecked(dialog, IDC_SPECIFIC));
    EXPECT_FALSE(IsChecked(dialog, IDC_PBWIN));
    EXPECT_TRUE(IsChecked(dialog, IDC_PBCC));
    EXPECT_TRUE(IsChecked(dialog, IDC_INCLUDE_1));
    for (int id : {IDC_OUTPUT_PATH, IDC_PBWIN_PATH, IDC_PBCC_PATH, IDC_QUAREX_PATH, IDC_INCL1_PATH, IDC_INCL2_PATH,
                   IDC_INCL3_PATH, IDC_INCL4_PATH})
        EXPECT_EQ(TextOf(GetDlgItem(dialog, id)), L"") << "control " << id;
    // Closing it saves, which the hold makes fail without a word.
    ASSERT_TRUE(PostClick(dialog, IDC_DONE));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    ASSERT_TRUE(Sync(tool.Main()));
    EXPECT_EQ(FindDialog(tool.ProcessId(), L"PowerBASIC"), nullptr);

    holder.Release();
    EXPECT_EQ(ReadBytes(tool.SettingsPath()), onDisk);
    EXPECT_EQ(LeftBesideSettings(tool), std::vector<std::string>{});
    // Freed now, the file is still never overwritten with the empty record the tool runs on:
    // every path it stores survives the next save.
    ASSERT_TRUE(OpenAndCloseConfigure(tool));
    EXPECT_EQ(ReadBytes(tool.SettingsPath()), onDisk);
    EXPECT_EQ(LeftBesideSettings(tool), std::vector<std::string>{});
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.CloseAndWait(exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadBytes(tool.SettingsPath()), onDisk);
}

TEST(Faults, SettingsFileHeldDuringASaveStaysAsItWasAndTheChangeStaysInUse) {
    ToolCase tool;
    MakeFolder(tool / "tools");
    std::string quarex = tool / "tools\\quarex.exe";
    std::string chosen = tool / "tools\\chosen.exe";
    InstallStandin(quarex);
    InstallStandin(chosen);
    std::string testFile = tool / "util.test";
    const std::string onDisk = "active=" + testFile + "\r\nquarex=" + quarex + "\r\n";
    WriteBytes(tool.SettingsPath(), onDisk);
    ASSERT_TRUE(tool.Start());

    {
        HeldByAnotherProcess holder(tool.SettingsPath());
        ASSERT_TRUE(holder.Held());
        ASSERT_TRUE(OpenAndCloseConfigure(tool, ToWide(chosen)));
    }
    EXPECT_EQ(ReadBytes(tool.SettingsPath()), onDisk);
    EXPECT_EQ(LeftBesideSettings(tool), std::vector<std::string>{});

    // The record in memory kept the change: Add routines runs the framework tool just chosen.
    ASSERT_TRUE(PostClick(tool.Main(), IDC_ADD_ROUTINES));
    std::vector<StandinRecord> runs = WaitForStandinRecords(chosen, 1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].command, Quoted(chosen) + " " + Quoted(testFile) + " /add");
    EXPECT_TRUE(StandinRecords(quarex).empty());

    // The next save that can write puts it on disk.
    ASSERT_TRUE(OpenAndCloseConfigure(tool));
    EXPECT_EQ(ReadBytes(tool.SettingsPath()), SavedFile(testFile, "specific", "", "pbcc", "", "", chosen, "1", "",
                                                        "", "", ""));
    EXPECT_EQ(LeftBesideSettings(tool), std::vector<std::string>{});
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.CloseAndWait(exitCode));
    EXPECT_EQ(exitCode, 0u);
}

namespace {

// A case folder with a source, its test file and stand-ins for the framework tool and PBWin.
struct Bench {
    explicit Bench(const ToolCase& tool)
        : quarex(tool / "tools\\quarex.exe"), pbwin(tool / "tools\\Pbwin.exe"), source(tool / "src\\util.bas"),
          testFile(tool / "src\\util.test"), generatedFolder(tool / "src\\test\\") {
        for (const char* folder : {"tools", "src", "src\\test"}) MakeFolder(tool / folder);
        InstallStandin(quarex);
        InstallStandin(pbwin);
        WriteBytes(source, "' the code under test\r\n");
        WriteBytes(testFile, "[quarex]\r\nsource=" + source + "\r\n");
        WriteBytes(tool.SettingsPath(), "active=" + testFile + "\r\nquarex=" + quarex + "\r\ncompiler=pbwin\r\npbwin=" +
                                            pbwin + "\r\n");
    }
    std::string quarex, pbwin, source, testFile, generatedFolder;
};

}  // namespace

TEST(Faults, LongCompilerLogAppearsInTheRealMessageBox) {
    // Wine's message box measures its whole text before it appears: a log of 20 MB takes it
    // about 23 s, so the 20 MB one is followed in-process up to the box (fault_tests). This one
    // is 1 MB, still far more than a screen can show.
    ToolCase tool;
    Bench bench(tool);
    std::string log;
    for (unsigned line = 1; log.size() < (1u << 20); ++line)
        log += "util_test.bas(" + std::to_string(line) + "): error 477: Syntax error\r\n";
    WriteBytes(bench.generatedFolder + "util_test.log", log);
    WriteStandinPlan(bench.pbwin, "exit=1\r\n");
    ASSERT_TRUE(tool.Start());

    ASSERT_TRUE(PostClick(tool.Main(), IDC_RUN_TESTS));
    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(tool.WaitForMessageBox(box, text));
    // Far taller than the screen: a first line that counts the lines left out and names the
    // log, then the log's last lines (the driver reads the first 4,095 characters).
    size_t firstEnd = text.find(L"\r\n");
    ASSERT_NE(firstEnd, std::wstring::npos);
    std::wstring first = text.substr(0, firstEnd);
    EXPECT_EQ(first, std::to_wstring(_wtoi(first.c_str())) +
                         L" earlier lines are not shown; the whole log is in " +
                         ToWide(bench.generatedFolder + "util_test.log"));
    std::wstring rest = text.substr(firstEnd + 2);
    std::wstring wideLog = ToWide(log);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(wideLog.substr(wideLog.size() - rest.size()), rest);
    EXPECT_FALSE(IsWindowVisible(tool.Main()));
    ASSERT_TRUE(tool.DismissMessageBox(box));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(tool.Main()) != FALSE; }));
    EXPECT_TRUE(tool.Running());
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.CloseAndWait(exitCode));
    EXPECT_EQ(exitCode, 0u);
}

