// The real TestBuilder.exe's Configure dialog, driven from outside: its shape and place, the
// settings file's values as its controls show them, "&Done", and the settings file it leaves.
#include <gtest/gtest.h>

#include "platform/ansi.h"
#include "tool_driver.h"
#include "expected_controls.h"
#include "ui/control_ids.h"

namespace {

// The controls of the layout in their order; a window never shown (a label that only names
// the edit after it for screen readers) is no part of it.
std::vector<int> ChildIds(HWND dialog) {
    std::vector<int> ids;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (StyleOf(child) & WS_VISIBLE) ids.push_back(GetDlgCtrlID(child));
    }
    return ids;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// What the dialog shows: which radio of each group is checked (0 when none) and the edits.
struct DialogView {
    int directory = 0, compiler = 0, include = 0;
    std::wstring output, pbwin, pbcc, quarex, incl1, incl2, incl3, incl4;
};

int CheckedOf(HWND dialog, std::initializer_list<int> group) {
    int checked = 0;
    for (int id : group) {
        if (IsChecked(dialog, id)) checked = checked ? -1 : id;  // -1: more than one
    }
    return checked;
}

DialogView ViewOf(HWND dialog) {
    DialogView view;
    view.directory = CheckedOf(dialog, {IDC_RELATIVE, IDC_SPECIFIC});
    view.compiler = CheckedOf(dialog, {IDC_PBWIN, IDC_PBCC});
    view.include = CheckedOf(dialog, {IDC_INCLUDE_1, IDC_INCLUDE_2, IDC_INCLUDE_3, IDC_INCLUDE_4});
    view.output = TextOf(GetDlgItem(dialog, IDC_OUTPUT_PATH));
    view.pbwin = TextOf(GetDlgItem(dialog, IDC_PBWIN_PATH));
    view.pbcc = TextOf(GetDlgItem(dialog, IDC_PBCC_PATH));
    view.quarex = TextOf(GetDlgItem(dialog, IDC_QUAREX_PATH));
    view.incl1 = TextOf(GetDlgItem(dialog, IDC_INCL1_PATH));
    view.incl2 = TextOf(GetDlgItem(dialog, IDC_INCL2_PATH));
    view.incl3 = TextOf(GetDlgItem(dialog, IDC_INCL3_PATH));
    view.incl4 = TextOf(GetDlgItem(dialog, IDC_INCL4_PATH));
    return view;
}

void ExpectView(const DialogView& seen, const DialogView& expected) {
    EXPECT_EQ(seen.directory, expected.directory);
    EXPECT_EQ(seen.compiler, expected.compiler);
    EXPECT_EQ(seen.include, expected.include);
    EXPECT_EQ(seen.output, expected.output);
    EXPECT_EQ(seen.pbwin, expected.pbwin);
    EXPECT_EQ(seen.pbcc, expected.pbcc);
    EXPECT_EQ(seen.quarex, expected.quarex);
    EXPECT_EQ(seen.incl1, expected.incl1);
    EXPECT_EQ(seen.incl2, expected.incl2);
    EXPECT_EQ(seen.incl3, expected.incl3);
    EXPECT_EQ(seen.incl4, expected.incl4);
}

// Ends the dialog by the system command and waits until it is gone.
testing::AssertionResult SystemCloseDialog(HWND dialog) {
    if (!PostSystemClose(dialog)) return testing::AssertionFailure() << "could not post SC_CLOSE";
    if (!WaitUntil([&] { return !IsWindow(dialog); })) {
        return testing::AssertionFailure() << "the Configure dialog did not close on SC_CLOSE";
    }
    return testing::AssertionSuccess();
}

// Presses "&Done" and waits until the dialog is gone, failing when a message box appears instead.
testing::AssertionResult DoneAndClosed(ToolCase& tool, HWND dialog) {
    if (!PostClick(dialog, IDC_DONE)) return testing::AssertionFailure() << "could not click \"&Done\"";
    HWND box = nullptr;
    bool closed = WaitUntil([&] {
        box = FindDialog(tool.ProcessId(), L"PowerBASIC");
        return box || !IsWindow(dialog);
    });
    if (box) {
        wchar_t text[2048] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 2048);
        return testing::AssertionFailure() << "\"&Done\" reported: " << ToAnsi(text);
    }
    if (!closed) return testing::AssertionFailure() << "the Configure dialog did not close on \"&Done\"";
    return testing::AssertionSuccess();
}

HWND FocusOf(HWND window) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
    return thread.hwndFocus;
}

const std::string kDefaultFile =
    SavedFile("", "relative", "", "pbwin", "", "", "", "1", "", "", "", "");

}  // namespace

TEST(ConfigureDialog, CaptionSizeStylesAndControls) {
    ToolCase tool;
    ASSERT_TRUE(tool.Start());
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.OpenConfigure(dialog));

    SIZE client = ClientSize(dialog);
    EXPECT_EQ(client.cx, 352);
    EXPECT_EQ(client.cy, 416);
    EXPECT_EQ(StyleOf(dialog), static_cast<LONG>(WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | DS_MODALFRAME |
                                                 DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK))
        << std::hex << StyleOf(dialog);
    EXPECT_FALSE(StyleOf(dialog) & WS_SYSMENU);
    // The system adds the window edge and, for the modal frame, the modal-frame edge.
    EXPECT_EQ(ExStyleOf(dialog) & ~(WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME),
              static_cast<LONG>(WS_EX_CONTROLPARENT | WS_EX_TOPMOST))
        << std::hex << ExStyleOf(dialog);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    // No owner: the main window stays enabled while the dialog is open.
    EXPECT_TRUE(IsWindowEnabled(tool.Main()));

    std::vector<int> expectedOrder;
    for (const ExpectedControl& wanted : kExpectedConfigureControls) expectedOrder.push_back(wanted.id);
    EXPECT_EQ(ChildIds(dialog), expectedOrder);

    for (const ExpectedControl& wanted : kExpectedConfigureControls) {
        SCOPED_TRACE("control " + std::to_string(wanted.id));
        HWND control = GetDlgItem(dialog, wanted.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), wanted.className), 0) << ToAnsi(ClassOf(control));
        EXPECT_EQ(TextOf(control), wanted.text);
        RECT rect = RectInClient(control, dialog);
        EXPECT_EQ(Describe(rect), Describe({wanted.x, wanted.y, wanted.x + wanted.width, wanted.y + wanted.height}));
        LONG style = StyleOf(control);
        auto expectedStyle = static_cast<LONG>(wanted.style);
        if ((wanted.style & BS_TYPEMASK) == BS_AUTORADIOBUTTON && wanted.className == std::wstring(L"Button")) {
            // A radio button has the tab stop only while it is checked: BM_SETCHECK moves it.
            EXPECT_EQ(style & ~WS_TABSTOP, expectedStyle & ~WS_TABSTOP) << std::hex << style;
            EXPECT_EQ((style & WS_TABSTOP) != 0, IsChecked(dialog, wanted.id)) << std::hex << style;
        } else {
            EXPECT_EQ(style, expectedStyle) << std::hex << style;
        }
        EXPECT_EQ(ExStyleOf(control), static_cast<LONG>(wanted.exStyle)) << std::hex << ExStyleOf(control);
    }

    // Focus starts on "Relative".
    EXPECT_EQ(FocusOf(dialog), GetDlgItem(dialog, IDC_RELATIVE));
    ASSERT_TRUE(SystemCloseDialog(dialog));
}

TEST(ConfigureDialog, OpensOnTheMainWindowsBottomRightCornerClampedAtZero) {
    ToolCase tool;
    ASSERT_TRUE(tool.Start());
    HWND main = tool.Main();

    HWND dialog = nullptr;
    ASSERT_TRUE(tool.OpenConfigure(dialog));
    RECT mainRect = OuterRect(main);
    RECT dialogRect = OuterRect(dialog);
    EXPECT_EQ(dialogRect.right, mainRect.right) << Describe(dialogRect) << " main " << Describe(mainRect);
    EXPECT_EQ(dialogRect.bottom, mainRect.bottom) << Describe(dialogRect) << " main " << Describe(mainRect);
    SIZE client = ClientSize(dialog);
    RECT expectedOuter{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&expectedOuter, StyleOf(dialog), FALSE, ExStyleOf(dialog));
    EXPECT_EQ(dialogRect.right - dialogRect.left, expectedOuter.right - expectedOuter.left);
    ASSERT_TRUE(SystemCloseDialog(dialog));

    // The user drags the main window to the left edge: the dialog cannot go left of x = 0.
    int mainHeight = mainRect.bottom - mainRect.top;
    ASSERT_TRUE(SetWindowPos(main, nullptr, 0, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    mainRect = OuterRect(main);
    ASSERT_EQ(mainRect.left, 0);
    ASSERT_TRUE(tool.OpenConfigure(dialog));
    dialogRect = OuterRect(dialog);
    EXPECT_EQ(dialogRect.left, 0) << Describe(dialogRect);
    EXPECT_EQ(dialogRect.bottom, mainRect.bottom) << Describe(dialogRect) << " main " << Describe(mainRect);
    ASSERT_TRUE(SystemCloseDialog(dialog));

    // And to the top right: the dialog cannot go above y = 0.
    ASSERT_TRUE(SetWindowPos(main, nullptr, 700, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    mainRect = OuterRect(main);
    ASSERT_EQ(mainRect.top, 0);
    ASSERT_LT(mainHeight, dialogRect.bottom - dialogRect.top);
    ASSERT_TRUE(tool.OpenConfigure(dialog));
    dialogRect = OuterRect(dialog);
    EXPECT_EQ(dialogRect.top, 0) << Describe(dialogRect);
    EXPECT_EQ(dialogRect.right, mainRect.right) << Describe(dialogRect) << " main " << Describe(mainRect);
    ASSERT_TRUE(SystemCloseDialog(dialog));
}

TEST(ConfigureDialog, NoSettingsFileShowsDefaultsAndSystemCloseSavesThem) {
    ToolCase tool;
    ASSERT_TRUE(tool.Start());
    EXPECT_EQ(TextOf(GetDlgItem(tool.Main(), IDC_TEST_FILE)), L"");
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.OpenConfigure(dialog));
    DialogView expected;
    expected.directory = IDC_RELATIVE;
    expected.compiler = IDC_PBWIN;
    expected.include = IDC_INCLUDE_1;
    ExpectView(ViewOf(dialog), expected);
    EXPECT_FALSE(PathExists(tool.SettingsPath())) << "saved while the dialog is open";

    ASSERT_TRUE(SystemCloseDialog(dialog));
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(tool.SettingsPath()) == kDefaultFile; }))
        << ReadBytes(tool.SettingsPath());
    // The main window has the focus back on "&Configure".
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(tool.Main()) == GetDlgItem(tool.Main(), IDC_CONFIGURE); }, 3000));
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.CloseAndWait(exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST(ConfigureDialog, SettingsFileEdgeCasesShownAndNormalisedBySystemClose) {
    ToolCase tool;
    WriteBytes(tool.SettingsPath(),
               "   active=D:\\t\\a.test   \r\n"
               "Directory=RELATIVE\r\n"
               "compiler=PBCC\r\n"
               "include= 4\r\n"
               "incl1=D:\\a=b\\inc\r\n"
               "pbwin=D:\\first\\Pbwin.exe\r\n"
               "pbwin=D:\\second\\Pbwin.exe\r\n"
               "active =D:\\x\r\n"
               "\tquarex=D:\\tab\\quarex.exe\r\n"
               "other=1\r\n"
               "\r\n"
               "      \r\n"
               "output= D:\\out\r\n"
               "INCL2=D:\\i2\r\n"
               "pbcc=D:\\cc\\pbcc.exe\r\n"
               "QuaRex=D:\\q\\quarex.exe");
    ASSERT_TRUE(tool.Start());
    EXPECT_EQ(TextOf(GetDlgItem(tool.Main(), IDC_TEST_FILE)), L"D:\\t\\a.test");

    HWND dialog = nullptr;
    ASSERT_TRUE(tool.OpenConfigure(dialog));
    DialogView expected;
    expected.directory = IDC_RELATIVE;
    expected.compiler = IDC_PBCC;
    expected.include = IDC_INCLUDE_4;
    expected.output = L" D:\\out";
    expected.pbwin = L"D:\\second\\Pbwin.exe";
    expected.pbcc = L"D:\\cc\\pbcc.exe";
    expected.quarex = L"D:\\q\\quarex.exe";
    expected.incl1 = L"D:\\a";
    expected.incl2 = L"D:\\i2";
    ExpectView(ViewOf(dialog), expected);

    // Changes in the controls are not taken back by the system close, but the record is saved.
    TypeText(dialog, IDC_PBCC_PATH, L"D:\\typed\\pbcc.exe");
    ASSERT_TRUE(Click(dialog, IDC_PBWIN));
    ASSERT_TRUE(Click(dialog, IDC_SPECIFIC));
    ASSERT_TRUE(Click(dialog, IDC_INCLUDE_2));
    ASSERT_TRUE(SystemCloseDialog(dialog));
    std::string saved = SavedFile("D:\\t\\a.test", "relative", " D:\\out", "pbcc", "D:\\second\\Pbwin.exe",
                                  "D:\\cc\\pbcc.exe", "D:\\q\\quarex.exe", "4", "D:\\a", "D:\\i2", "", "");
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(tool.SettingsPath()) == saved; })) << ReadBytes(tool.SettingsPath());
}

TEST(ConfigureDialog, RadioValuesFromTheSettingsFile) {
    struct Case {
        const char* file;
        int directory, compiler, include;
    };
    const Case cases[] = {
        // An existing but empty file leaves every field empty.
        {"", IDC_SPECIFIC, IDC_PBCC, IDC_INCLUDE_1},
        {"directory=elsewhere\r\ncompiler=\r\ninclude=2.0\r\n", IDC_SPECIFIC, IDC_PBCC, IDC_INCLUDE_2},
        {"directory=relative\r\ncompiler=PbWin\r\ninclude=3\r\n", IDC_RELATIVE, IDC_PBWIN, IDC_INCLUDE_3},
        {"include=2.5\r\n", IDC_SPECIFIC, IDC_PBCC, IDC_INCLUDE_1},
        {"include=7\r\ncompiler=pbwin \r\n", IDC_SPECIFIC, IDC_PBWIN, IDC_INCLUDE_1},
        {"include=x\r\n", IDC_SPECIFIC, IDC_PBCC, IDC_INCLUDE_1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ToolCase tool;
        WriteBytes(tool.SettingsPath(), c.file);
        ASSERT_TRUE(tool.Start());
        HWND dialog = nullptr;
        ASSERT_TRUE(tool.OpenConfigure(dialog));
        DialogView view = ViewOf(dialog);
        EXPECT_EQ(view.directory, c.directory);
        EXPECT_EQ(view.compiler, c.compiler);
        EXPECT_EQ(view.include, c.include);
        ASSERT_TRUE(SystemCloseDialog(dialog));
    }
}

TEST(ConfigureDialog, EmptySettingsFileThenDoneStoresTheShownRadios) {
    ToolCase tool;
    WriteBytes(tool.SettingsPath(), "");
    ASSERT_TRUE(tool.Start());
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.OpenConfigure(dialog));
    ASSERT_TRUE(DoneAndClosed(tool, dialog));
    std::string saved = SavedFile("", "specific", "", "pbcc", "", "", "", "1", "", "", "", "");
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(tool.SettingsPath()) == saved; })) << ReadBytes(tool.SettingsPath());
}

TEST(ConfigureDialog, UnusualSettingsFilesInTheLabel) {
    struct Case {
        std::string file;
        std::wstring label;
        std::wstring quarex;
    };
    const Case cases[] = {
        // Lines ending in LF alone read as one line, whose value ends at the second "=".
        {"active=D:\\one\nquarex=D:\\q.exe\n", L"D:\\one\nquarex", L""},
        // A byte-order mark spoils the first key only.
        {"\xEF\xBB\xBF" "active=D:\\bom.test\r\nquarex=D:\\q.exe\r\n", L"", L"D:\\q.exe"},
        // Texts are in the ANSI code page (1252 here): e9 is e-acute, 80 the euro sign.
        {"active=D:\\caf\xE9\\\x80.test\r\nquarex=D:\\\xE9.exe\r\n", L"D:\\caf\u00e9\\\u20ac.test", L"D:\\\u00e9.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ToolCase tool;
        WriteBytes(tool.SettingsPath(), c.file);
        ASSERT_TRUE(tool.Start());
        EXPECT_EQ(TextOf(GetDlgItem(tool.Main(), IDC_TEST_FILE)), c.label);
        HWND dialog = nullptr;
        ASSERT_TRUE(tool.OpenConfigure(dialog));
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_QUAREX_PATH)), c.quarex);
        ASSERT_TRUE(SystemCloseDialog(dialog));
    }
}

TEST(ConfigureDialog, DoneWithValidPathsTakesEveryControlBack) {
    ToolCase tool;
    WriteBytes(tool.SettingsPath(), "active=D:\\cur.test\r\nquarex=D:\\old\\quarex.exe\r\n");
    std::string pbwin = tool / "Pbwin.exe", pbcc = tool / "pbcc.exe", quarex = tool / "quarex.exe";
    for (const std::string& program : {pbwin, pbcc, quarex}) WriteBytes(program, "MZ");
    ASSERT_TRUE(tool.Start());
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.OpenConfigure(dialog));

    ASSERT_TRUE(Click(dialog, IDC_SPECIFIC));
    ASSERT_TRUE(Click(dialog, IDC_PBCC));
    ASSERT_TRUE(Click(dialog, IDC_INCLUDE_3));
    EXPECT_FALSE(IsChecked(dialog, IDC_RELATIVE));
    EXPECT_FALSE(IsChecked(dialog, IDC_PBWIN));
    EXPECT_FALSE(IsChecked(dialog, IDC_INCLUDE_1));
    TypeText(dialog, IDC_OUTPUT_PATH, L"E:\\gen");
    TypeText(dialog, IDC_PBWIN_PATH, ToWide(pbwin));
    TypeText(dialog, IDC_PBCC_PATH, ToWide(pbcc));
    TypeText(dialog, IDC_QUAREX_PATH, ToWide(quarex));
    TypeText(dialog, IDC_INCL1_PATH, L"D:\\inc1");
    TypeText(dialog, IDC_INCL2_PATH, L"D:\\inc 2");
    TypeText(dialog, IDC_INCL3_PATH, L"D:\\inc3\\");
    TypeText(dialog, IDC_INCL4_PATH, L"  ");
    ASSERT_TRUE(DoneAndClosed(tool, dialog));

    std::string saved =
        SavedFile("D:\\cur.test", "specific", "E:\\gen", "pbcc", pbwin, pbcc, quarex, "3", "D:\\inc1", "D:\\inc 2",
                  "D:\\inc3\\", "  ");
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(tool.SettingsPath()) == saved; })) << ReadBytes(tool.SettingsPath());
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(tool.Main()) == GetDlgItem(tool.Main(), IDC_CONFIGURE); }, 3000));

    // A new dialog shows what was taken back.
    ASSERT_TRUE(tool.OpenConfigure(dialog));
    DialogView expected;
    expected.directory = IDC_SPECIFIC;
    expected.compiler = IDC_PBCC;
    expected.include = IDC_INCLUDE_3;
    expected.output = L"E:\\gen";
    expected.pbwin = ToWide(pbwin);
    expected.pbcc = ToWide(pbcc);
    expected.quarex = ToWide(quarex);
    expected.incl1 = L"D:\\inc1";
    expected.incl2 = L"D:\\inc 2";
    expected.incl3 = L"D:\\inc3\\";
    expected.incl4 = L"  ";
    ExpectView(ViewOf(dialog), expected);
    ASSERT_TRUE(SystemCloseDialog(dialog));
}

TEST(ConfigureDialog, DoneReportsInvalidProgramsAndStaysOpen) {
    ToolCase tool;
    std::string missing = tool / "missing\\Pbwin.exe";
    std::string directory = tool / "sub";
    CreateDirectoryW(ToWide(directory).c_str(), nullptr);
    std::string valid = tool / "pbcc.exe";
    WriteBytes(valid, "MZ");
    ASSERT_TRUE(tool.Start());
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.OpenConfigure(dialog));

    // Controls that only a successful "&Done" takes back.
    ASSERT_TRUE(Click(dialog, IDC_SPECIFIC));
    ASSERT_TRUE(Click(dialog, IDC_PBCC));
    TypeText(dialog, IDC_OUTPUT_PATH, L"E:\\never");
    TypeText(dialog, IDC_INCL1_PATH, L"D:\\never");

    TypeText(dialog, IDC_PBWIN_PATH, ToWide(missing));
    TypeText(dialog, IDC_PBCC_PATH, ToWide(directory));
    TypeText(dialog, IDC_QUAREX_PATH, L"");
    ASSERT_TRUE(PostClick(dialog, IDC_DONE));
    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(tool.WaitForMessageBox(box, text));
    EXPECT_EQ(text, L"{" + ToWide(missing) + L"} is not a valid program\r\n{" + ToWide(directory) +
                        L"} is not a valid program");
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    ASSERT_TRUE(tool.DismissMessageBox(box));
    ASSERT_TRUE(Sync(dialog));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowVisible(dialog));

    // Second try: one path left wrong, a wildcard name never matches a file.
    std::string wildcard = tool / "*.exe";
    TypeText(dialog, IDC_PBWIN_PATH, L"");
    TypeText(dialog, IDC_PBCC_PATH, ToWide(valid));
    TypeText(dialog, IDC_QUAREX_PATH, ToWide(wildcard));
    ASSERT_TRUE(PostClick(dialog, IDC_DONE));
    ASSERT_TRUE(tool.WaitForMessageBox(box, text));
    EXPECT_EQ(text, L"{" + ToWide(wildcard) + L"} is not a valid program");
    ASSERT_TRUE(tool.DismissMessageBox(box));
    ASSERT_TRUE(Sync(dialog));
    EXPECT_TRUE(IsWindow(dialog));

    // The system close keeps the three paths the failed "&Done" stored, and nothing else.
    ASSERT_TRUE(SystemCloseDialog(dialog));
    std::string saved = SavedFile("", "relative", "", "pbwin", "", valid, wildcard, "1", "", "", "", "");
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(tool.SettingsPath()) == saved; })) << ReadBytes(tool.SettingsPath());
}

TEST(ConfigureDialog, EscapeAndEnterDoNotCloseIt) {
    ToolCase tool;
    ASSERT_TRUE(tool.Start());
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.OpenConfigure(dialog));
    HWND focus = FocusOf(dialog);
    ASSERT_TRUE(PostKey(focus ? focus : dialog, VK_ESCAPE));
    ASSERT_TRUE(PostKey(GetDlgItem(dialog, IDC_OUTPUT_PATH), VK_RETURN));
    ASSERT_TRUE(PostCommand(dialog, IDCANCEL, BN_CLICKED));
    ASSERT_TRUE(PostCommand(dialog, IDOK, BN_CLICKED));
    ASSERT_TRUE(Sync(dialog));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(FindDialog(tool.ProcessId(), L"PowerBASIC"), nullptr);
    EXPECT_FALSE(PathExists(tool.SettingsPath()));
    ASSERT_TRUE(SystemCloseDialog(dialog));
}

TEST(ConfigureDialog, SecondDialogWhileOneIsOpen) {
    ToolCase tool;
    ASSERT_TRUE(tool.Start());
    HWND first = nullptr, second = nullptr;
    ASSERT_TRUE(tool.OpenConfigure(first));
    // The main window still takes clicks while the first dialog is open.
    ASSERT_TRUE(tool.OpenConfigure(second));
    EXPECT_NE(first, second);
    EXPECT_TRUE(IsWindow(first));

    // Each dialog saves as it closes; the inner one first.
    TypeText(second, IDC_INCL1_PATH, L"D:\\second");
    ASSERT_TRUE(DoneAndClosed(tool, second));
    std::string afterSecond = SavedFile("", "relative", "", "pbwin", "", "", "", "1", "D:\\second", "", "", "");
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(tool.SettingsPath()) == afterSecond; }))
        << ReadBytes(tool.SettingsPath());
    EXPECT_TRUE(IsWindowVisible(first));

    // Gone, so that the outer dialog's own save shows.
    ASSERT_TRUE(DeleteFileW(ToWide(tool.SettingsPath()).c_str()));
    ASSERT_TRUE(SystemCloseDialog(first));
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(tool.SettingsPath()) == afterSecond; }))
        << ReadBytes(tool.SettingsPath());
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.CloseAndWait(exitCode));
    EXPECT_EQ(exitCode, 0u);
}
