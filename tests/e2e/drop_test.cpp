// Files dropped onto the real TestBuilder.exe from outside, through X11 drag and drop into
// Wine, which delivers them as WM_DROPFILES to the window under the pointer.
#include <gtest/gtest.h>

#include "platform/ansi.h"
#include "tool_driver.h"
#include "ui/control_ids.h"

namespace {

class Drops : public testing::Test {
protected:
    void SetUp() override {
        // Wine's path conversion is there on Wine only; a missing Python or script under Wine is
        // a broken setup and fails instead.
        if (!GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")) {
            GTEST_SKIP() << "drops from X11 need Wine";
        }
        ASSERT_TRUE(CanDropThroughX11()) << "python3 or xdnd_drop.py missing";
    }
};

std::wstring LabelOf(const ToolCase& tool) { return TextOf(GetDlgItem(tool.Main(), IDC_TEST_FILE)); }

// Drops and waits until the label shows `expected`.
testing::AssertionResult DropAndSee(const ToolCase& tool, int onControl, const std::vector<std::string>& paths,
                                    const std::string& expected) {
    testing::AssertionResult dropped = DropFiles(CentreOf(GetDlgItem(tool.Main(), onControl)), paths);
    if (!dropped) return dropped;
    std::wstring wanted = ToWide(expected);
    if (!WaitUntil([&] { return LabelOf(tool) == wanted; })) {
        return testing::AssertionFailure() << "the label shows \"" << ToAnsi(LabelOf(tool)) << "\", not \""
                                           << expected << "\"";
    }
    return testing::AssertionSuccess();
}

}  // namespace

TEST_F(Drops, SourceFileOnTheDropAreaWritesItsTestFileAndSaves) {
    ToolCase tool;
    CreateDirectoryW(ToWide(tool / "src").c_str(), nullptr);
    std::string source = tool / "src\\Util.BAS";
    WriteBytes(source, "' code\r\n");
    ASSERT_TRUE(tool.Start());
    EXPECT_EQ(LabelOf(tool), L"");

    std::string testFile = tool / "src\\Util.test";
    ASSERT_TRUE(DropAndSee(tool, IDC_DROP_AREA, {source}, testFile));
    EXPECT_EQ(ReadBytes(testFile), "[quarex]\r\nsource=" + source + "\r\n");
    std::string saved = SavedFile(testFile, "relative", "", "pbwin", "", "", "", "1", "", "", "", "");
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(tool.SettingsPath()) == saved; })) << ReadBytes(tool.SettingsPath());

    // Dropping a sibling source whose test file exists leaves that file as it is.
    std::string sibling = tool / "src\\Util.inc";
    WriteBytes(sibling, "' include\r\n");
    WriteBytes(tool.SettingsPath(), "");
    ASSERT_TRUE(DropFiles(CentreOf(GetDlgItem(tool.Main(), IDC_DROP_AREA)), {sibling}));
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(tool.SettingsPath()) == saved; })) << ReadBytes(tool.SettingsPath());
    EXPECT_EQ(ReadBytes(testFile), "[quarex]\r\nsource=" + source + "\r\n");
    EXPECT_EQ(LabelOf(tool), ToWide(testFile));
}

TEST_F(Drops, DropsOnButtonsAndLabelsAreDropsOnTheWindow) {
    ToolCase tool;
    WriteBytes(tool.SettingsPath(), "directory=specific\r\noutput=E:\\gen\r\n");
    CreateDirectoryW(ToWide(tool / "src").c_str(), nullptr);
    ASSERT_TRUE(tool.Start());

    // A test file is only selected: not read, not checked, and `output` is left alone.
    std::string chosen = tool / "src\\Chosen.TEST";
    WriteBytes(chosen, "not a test file");
    ASSERT_TRUE(DropAndSee(tool, IDC_RUN_TESTS, {chosen}, chosen));
    EXPECT_EQ(ReadBytes(chosen), "not a test file");
    std::string saved = SavedFile(chosen, "specific", "E:\\gen", "", "", "", "", "", "", "", "", "");
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(tool.SettingsPath()) == saved; })) << ReadBytes(tool.SettingsPath());

    // A source dropped on the label: the specific mode adds the output line, and `output` its "\".
    std::string source = tool / "src\\a.b.inc";
    WriteBytes(source, "' code\r\n");
    std::string testFile = tool / "src\\a.b.test";
    ASSERT_TRUE(DropAndSee(tool, IDC_TEST_FILE, {source}, testFile));
    EXPECT_EQ(ReadBytes(testFile), "[quarex]\r\nsource=" + source + "\r\noutput=E:\\gen\\a.b_test.bas\r\n");
    saved = SavedFile(testFile, "specific", "E:\\gen\\", "", "", "", "", "", "", "", "", "");
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(tool.SettingsPath()) == saved; })) << ReadBytes(tool.SettingsPath());

    // Three files on the "&Configure" button: only the first counts, and no dialog opens.
    std::vector<std::string> three{tool / "src\\first.bi", tool / "src\\second.bas", tool / "src\\third.test"};
    for (const std::string& path : three) WriteBytes(path, "x");
    std::string firstTest = tool / "src\\first.test";
    ASSERT_TRUE(DropAndSee(tool, IDC_CONFIGURE, three, firstTest));
    EXPECT_TRUE(PathExists(firstTest));
    EXPECT_FALSE(PathExists(tool / "src\\second.test"));
    EXPECT_EQ(FindDialog(tool.ProcessId(), L"Configure"), nullptr);
}

TEST_F(Drops, OtherFileTypesChangeNothing) {
    ToolCase tool;
    const std::string settings = "active=D:\\kept.test\r\n";
    WriteBytes(tool.SettingsPath(), settings);
    std::string text = tool / "notes.txt";
    std::string basLookalike = tool / "notes.bas.txt";
    WriteBytes(text, "x");
    WriteBytes(basLookalike, "x");
    ASSERT_TRUE(tool.Start());

    ASSERT_TRUE(DropFiles(CentreOf(GetDlgItem(tool.Main(), IDC_DROP_AREA)), {text}));
    ASSERT_TRUE(DropFiles(CentreOf(GetDlgItem(tool.Main(), IDC_ADD_ROUTINES)), {basLookalike}));
    // A source drop after them shows that both were handled before it (one queue, in order).
    std::string source = tool / "last.bas";
    WriteBytes(source, "x");
    ASSERT_TRUE(DropAndSee(tool, IDC_DROP_AREA, {source}, tool / "last.test"));
    EXPECT_FALSE(PathExists(tool / "notes.test"));
    EXPECT_FALSE(PathExists(tool / "notes.bas.test"));
    EXPECT_EQ(FindDialog(tool.ProcessId(), L"PowerBASIC"), nullptr);
}

TEST_F(Drops, TheMainWindowTakesDropsWhileConfigureIsOpen) {
    ToolCase tool;
    std::string chosen = tool / "chosen.test";
    WriteBytes(chosen, "");
    ASSERT_TRUE(tool.Start());
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.OpenConfigure(dialog));

    // The dialog lies over the main window and takes no files itself.
    testing::AssertionResult overDialog = DropFiles(CentreOf(GetDlgItem(tool.Main(), IDC_DROP_AREA)), {chosen});
    EXPECT_FALSE(overDialog);
    EXPECT_NE(std::string(overDialog.message()).find("refused"), std::string::npos) << overDialog.message();
    // The user moves it aside; the main window then takes the drop through the dialog's loop.
    ASSERT_TRUE(SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(DropAndSee(tool, IDC_DROP_AREA, {chosen}, chosen));
    EXPECT_TRUE(IsWindowVisible(dialog));
    ASSERT_TRUE(PostSystemClose(dialog));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
}
