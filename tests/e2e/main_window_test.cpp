// The real TestBuilder.exe, started as its own process and driven from outside: the main
// window's shape, its place on the screen, how it closes and what it leaves behind.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/ansi.h"
#include "tool_driver.h"
#include "expected_controls.h"
#include "ui/control_ids.h"

namespace {

RECT At(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

std::vector<int> ChildIds(HWND dialog) {
    std::vector<int> ids;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ids.push_back(GetDlgCtrlID(child));
    }
    return ids;
}

RECT PrimaryWorkArea() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// A pixel of the screen as the virtual desktop shows it.
COLORREF ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// Whether the tool's thread shows no message box once everything posted so far is handled.
bool NoMessageBox(const ToolCase& tool) {
    return Sync(tool.Main()) && FindDialog(tool.ProcessId(), L"PowerBASIC") == nullptr;
}

// The thread's window with the keyboard focus, as the system tells it to another process.
HWND FocusOf(HWND window) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread)) return nullptr;
    return thread.hwndFocus;
}

// Ctrl+O on the keyboard, into whatever window is in front.
bool TypeControlO() {
    INPUT keys[4] = {};
    for (INPUT& key : keys) key.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_CONTROL;
    keys[1].ki.wVk = 'O';
    keys[2].ki.wVk = 'O';
    keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
    keys[3].ki.wVk = VK_CONTROL;
    keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(4, keys, sizeof(INPUT)) == 4;
}

// Another program's window, open beside the tool: a window of the driver's own, served by a
// thread of its own so that it answers whatever the system sends it at any moment.
class OtherProgramWindow {
public:
    OtherProgramWindow() {
        thread_ = std::thread([this] {
            HWND window = CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100,
                                          nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
            threadId_ = GetCurrentThreadId();
            window_ = window;
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
            DestroyWindow(window);
        });
        WaitUntil([&] { return window_.load() != nullptr; });
    }
    ~OtherProgramWindow() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    OtherProgramWindow(const OtherProgramWindow&) = delete;
    OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;

    HWND Get() const { return window_; }

private:
    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
    std::atomic<HWND> window_{nullptr};
};

}  // namespace

TEST(MainWindow, CaptionSizeStylesAndControls) {
    ToolCase tool;
    ASSERT_TRUE(tool.Start());
    HWND main = tool.Main();

    EXPECT_EQ(ClassOf(main), L"#32770");
    SIZE client = ClientSize(main);
    EXPECT_EQ(client.cx, 258);
    EXPECT_EQ(client.cy, 170);
    EXPECT_EQ(StyleOf(main), static_cast<LONG>(WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU |
                                               WS_MINIMIZEBOX | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK));
    EXPECT_FALSE(StyleOf(main) & WS_MAXIMIZEBOX);
    EXPECT_FALSE(StyleOf(main) & WS_THICKFRAME);
    // The system adds the raised window edge to every captioned dialog.
    EXPECT_EQ(ExStyleOf(main) & ~WS_EX_WINDOWEDGE,
              static_cast<LONG>(WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES | WS_EX_TOPMOST));
    EXPECT_EQ(GetWindow(main, GW_OWNER), nullptr);

    std::vector<int> expectedOrder;
    for (const ExpectedControl& wanted : kExpectedMainWindowControls) expectedOrder.push_back(wanted.id);
    EXPECT_EQ(ChildIds(main), expectedOrder);

    for (const ExpectedControl& wanted : kExpectedMainWindowControls) {
        SCOPED_TRACE("control " + std::to_string(wanted.id));
        HWND control = GetDlgItem(main, wanted.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), wanted.className), 0) << ClassOf(control).c_str();
        EXPECT_EQ(TextOf(control), wanted.text);
        RECT rect = RectInClient(control, main);
        RECT expected = At(wanted.x, wanted.y, wanted.width, wanted.height);
        EXPECT_TRUE(SameRect(rect, expected)) << Describe(rect) << " expected " << Describe(expected);
        EXPECT_EQ(StyleOf(control), static_cast<LONG>(wanted.style)) << std::hex << StyleOf(control);
        // Wine marks sunken statics with the static edge on its own; nothing else may be set.
        LONG extra = (wanted.style & SS_SUNKEN) ? WS_EX_STATICEDGE : 0;
        EXPECT_EQ(ExStyleOf(control) & ~extra, 0) << std::hex << ExStyleOf(control);
        EXPECT_TRUE(IsWindowVisible(control));
    }
}

TEST(MainWindow, DropAreaIsPaleYellow) {
    ToolCase tool;
    ASSERT_TRUE(tool.Start());
    HWND area = GetDlgItem(tool.Main(), IDC_DROP_AREA);
    RECT rect = OuterRect(area);
    // Inside the sunken edge, above the text that the four line breaks push down.
    POINT inside{rect.left + 10, rect.top + 6};
    ASSERT_TRUE(Sync(tool.Main()));
    UpdateWindow(tool.Main());
    COLORREF seen = 0;
    EXPECT_TRUE(WaitUntil([&] { return (seen = ScreenPixel(inside)) == RGB(252, 235, 182); }, 3000))
        << "pixel " << std::hex << seen;
    // The dialog around it has its own face colour, so the pixel read is the control's.
    POINT between{102, 4};
    ClientToScreen(tool.Main(), &between);
    EXPECT_NE(ScreenPixel(between), RGB(252, 235, 182));
}

TEST(MainWindow, OuterBottomRightOnPrimaryWorkArea) {
    ToolCase tool;
    ASSERT_TRUE(tool.Start());
    RECT work = PrimaryWorkArea();
    RECT outer = OuterRect(tool.Main());
    EXPECT_EQ(outer.right, work.right) << Describe(outer) << " work area " << Describe(work);
    EXPECT_EQ(outer.bottom, work.bottom) << Describe(outer) << " work area " << Describe(work);
    // The frame is measured after creation: the outer size is the client size plus the frame.
    RECT client{0, 0, 258, 170};
    AdjustWindowRectEx(&client, StyleOf(tool.Main()), FALSE, ExStyleOf(tool.Main()));
    EXPECT_EQ(outer.right - outer.left, client.right - client.left);
    EXPECT_EQ(outer.bottom - outer.top, client.bottom - client.top);
}

TEST(MainWindow, LabelShowsCurrentTestFileFromSettings) {
    ToolCase tool;
    WriteBytes(tool.SettingsPath(), "active=D:\\t\\a.test\r\n");
    ASSERT_TRUE(tool.Start());
    EXPECT_EQ(TextOf(GetDlgItem(tool.Main(), IDC_TEST_FILE)), L"D:\\t\\a.test");
}

TEST(MainWindow, SystemCloseEndsWithZeroAndWritesNoSettingsFile) {
    ToolCase tool;
    ASSERT_TRUE(tool.Start());
    EXPECT_FALSE(PathExists(tool.SettingsPath())) << "written at start";
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.CloseAndWait(exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(PathExists(tool.SettingsPath())) << "written at exit";
}

TEST(MainWindow, ExistingSettingsFileIsNeitherRewrittenAtStartNorAtExit) {
    ToolCase tool;
    // Not in the form a save writes, so any rewrite would show.
    const std::string original = "  ACTIVE=D:\\keep.test  \r\nother=1\r\n\r\n";
    WriteBytes(tool.SettingsPath(), original);
    ASSERT_TRUE(tool.Start());
    EXPECT_EQ(TextOf(GetDlgItem(tool.Main(), IDC_TEST_FILE)), L"D:\\keep.test");
    EXPECT_EQ(ReadBytes(tool.SettingsPath()), original);
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.CloseAndWait(exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadBytes(tool.SettingsPath()), original);
}

TEST(MainWindow, CommandLineArgumentsAreIgnored) {
    ToolCase tool;
    WriteBytes(tool.SettingsPath(), "active=D:\\mine.test\r\n");
    std::string other = tool / "other.ini";
    WriteBytes(other, "active=D:\\other.test\r\n");
    ASSERT_TRUE(tool.Start(L"\"" + ToWide(other) + L"\" /add D:\\x.test -h"));
    EXPECT_EQ(TextOf(GetDlgItem(tool.Main(), IDC_TEST_FILE)), L"D:\\mine.test");
    EXPECT_TRUE(NoMessageBox(tool));
    EXPECT_EQ(ReadBytes(tool.SettingsPath()), "active=D:\\mine.test\r\n");
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.CloseAndWait(exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadBytes(other), "active=D:\\other.test\r\n");
}

TEST(MainWindow, EscapeEnterOkAndCancelDoNotClose) {
    ToolCase tool;
    ASSERT_TRUE(tool.Start());
    HWND main = tool.Main();
    // Keys go to the focused control, as the keyboard would deliver them.
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread);
    HWND target = thread.hwndFocus ? thread.hwndFocus : main;
    ASSERT_TRUE(PostKey(target, VK_ESCAPE));
    ASSERT_TRUE(PostKey(GetDlgItem(main, IDC_TEST_FILE), VK_RETURN));
    ASSERT_TRUE(PostCommand(main, IDCANCEL, BN_CLICKED));
    ASSERT_TRUE(PostCommand(main, IDOK, BN_CLICKED));
    ASSERT_TRUE(Sync(main));
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(tool.Running());
    EXPECT_TRUE(NoMessageBox(tool));
    DWORD exitCode = 99;
    ASSERT_TRUE(tool.CloseAndWait(exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST(MainWindow, FocusComesBackAfterSwitchingToAnotherApplication) {
    ToolCase tool;
    ASSERT_TRUE(tool.Start());
    HWND main = tool.Main();
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    DWORD threadId = GetWindowThreadProcessId(main, nullptr);
    auto focus = [&] {
        GetGUIThreadInfo(threadId, &thread);
        return thread.hwndFocus;
    };
    ASSERT_TRUE(WaitUntil([&] { return focus() != nullptr; })) << "nothing has the focus";

    // Tab to the next button, as the keyboard would.
    HWND before = focus();
    ASSERT_TRUE(PostKey(before, VK_TAB));
    ASSERT_TRUE(WaitUntil([&] { return focus() != before && focus() != nullptr; }));
    HWND tabbed = focus();
    EXPECT_EQ(GetParent(tabbed), main);

    // Another application's window comes to the front, then the tool's again.
    HWND other = CreateWindowExW(0, L"STATIC", L"another application", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    auto pumped = [](auto ready) {
        return WaitUntil([&] {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            return ready();
        });
    };
    SetForegroundWindow(other);
    EXPECT_TRUE(pumped([&] { return GetForegroundWindow() == other; }));
    EXPECT_TRUE(pumped([&] { return focus() == nullptr; })) << "the tool kept the focus";
    SetForegroundWindow(main);
    EXPECT_TRUE(pumped([&] { return focus() == tabbed; })) << "focus went to " << GetDlgCtrlID(focus());
    DestroyWindow(other);
}

// A user without a mouse (or whose file manager cannot drag) chooses the test file with Ctrl+O:
// the standard open-file dialog, owned by the main window; the chosen name goes where a dropped
// one goes, and Cancel changes nothing.
TEST(MainWindow, ControlOChoosesASourceAndThenATestFile) {
    ToolCase tool;
    CreateDirectoryW(ToWide(tool / "src").c_str(), nullptr);
    std::string source = tool / "src\\Calc.bas";
    WriteBytes(source, "' code\r\n");
    std::string chosenTest = tool / "src\\Other.test";
    const std::string chosenText = "[quarex]\r\nsource=D:\\elsewhere\\x.bas\r\n";
    WriteBytes(chosenTest, chosenText);
    ASSERT_TRUE(tool.Start());
    HWND main = tool.Main();

    // Ctrl+O in the main window, and the dialog answered with `name` (OK) or cancelled.
    auto open = [&](const std::string& name) -> testing::AssertionResult {
        if (!BringToFront(main)) return testing::AssertionFailure() << "the main window did not come to the front";
        if (!TypeControlO()) return testing::AssertionFailure() << "SendInput failed";
        HWND files = nullptr;
        if (!WaitUntil([&] { return (files = FindDialog(tool.ProcessId(), L"Open")) && IsWindowVisible(files); }))
            return testing::AssertionFailure() << "no open-file dialog";
        if (GetWindow(files, GW_OWNER) != main) return testing::AssertionFailure() << "not owned by the main window";
        if (!name.empty()) TypeText(files, 1148, ToWide(name));
        PostMessageW(files, WM_COMMAND, name.empty() ? IDCANCEL : IDOK, 0);
        if (!WaitUntil([&] { return !IsWindow(files); })) return testing::AssertionFailure() << "the dialog stayed";
        return testing::AssertionSuccess();
    };
    auto label = [&] { return TextOf(GetDlgItem(main, IDC_TEST_FILE)); };

    std::string testFile = tool / "src\\Calc.test";
    ASSERT_TRUE(open(source));
    EXPECT_TRUE(WaitUntil([&] { return label() == ToWide(testFile); })) << ToAnsi(label());
    EXPECT_EQ(ReadBytes(testFile), "[quarex]\r\nsource=" + source + "\r\n");
    std::string saved = SavedFile(testFile, "relative", "", "pbwin", "", "", "", "1", "", "", "", "");
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(tool.SettingsPath()) == saved; })) << ReadBytes(tool.SettingsPath());

    ASSERT_TRUE(open(chosenTest));
    EXPECT_TRUE(WaitUntil([&] { return label() == ToWide(chosenTest); })) << ToAnsi(label());
    saved = SavedFile(chosenTest, "relative", "", "pbwin", "", "", "", "1", "", "", "", "");
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(tool.SettingsPath()) == saved; })) << ReadBytes(tool.SettingsPath());
    EXPECT_EQ(ReadBytes(chosenTest), chosenText) << "a chosen test file is only selected";

    ASSERT_TRUE(open(""));
    ASSERT_TRUE(Sync(main));
    EXPECT_EQ(label(), ToWide(chosenTest));
    EXPECT_EQ(ReadBytes(tool.SettingsPath()), saved);
    EXPECT_TRUE(NoMessageBox(tool));
}

// The tool's message boxes are task-modal without an owner: while one is up the tool's windows
// are disabled, and when it closes the system would activate another program's window. The
// window that was active comes back to the front, with the keyboard focus where it was.
TEST(MainWindow, AfterAMessageBoxTheToolsWindowIsInFrontAgainWithItsFocus) {
    ToolCase tool;
    ASSERT_TRUE(tool.Start());
    HWND main = tool.Main();
    OtherProgramWindow other;
    ASSERT_NE(other.Get(), nullptr);
    ASSERT_TRUE(BringToFront(main));

    // Run tests with nothing configured: the missing-settings box.
    ASSERT_TRUE(PostClick(main, IDC_RUN_TESTS));
    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(tool.WaitForMessageBox(box, text));
    EXPECT_FALSE(IsWindowEnabled(main)) << "the box is task-modal";
    ASSERT_TRUE(tool.DismissMessageBox(box));

    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 3000))
        << "in front: " << ToAnsi(TextOf(GetForegroundWindow()));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(main) == GetDlgItem(main, IDC_RUN_TESTS); }, 3000))
        << "focus on " << GetDlgCtrlID(FocusOf(main));
}
