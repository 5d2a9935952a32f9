// The main window, built for real: its shape, its controls, and its handler's dispatch.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "workflow/settings_file.h"
#include "platform/ansi.h"
#include "platform/text_files.h"
#include "platform/launch.h"
#include "standin_support.h"
#include "test_support.h"
#include "expected_controls.h"
#include "ui/control_ids.h"
#include "ui/during_wait.h"
#include "ui/main_window.h"
#include "ui/placement.h"
#include "ui_test_support.h"
#include "workflow_support.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
        PumpMessages();
    }
    HWND Build() {
        window = CreateMainWindow(nullptr, icons, TestSettings);
        return window;
    }
    HWND Item(int id) const { return GetDlgItem(window, id); }

    FreshSettings fresh;  // first, so that it is cleaned up last
    const std::string settingsFile = fresh.Path();
    MainWindowIcons icons;
    HWND window = nullptr;
    FeedbackRecorder feedback;
};

SIZE IconSize(HICON icon) {
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

}  // namespace

TEST_F(MainWindowTest, IsATopmostCaptionedDialogOfExactClientSize) {
    ASSERT_NE(Build(), nullptr);
    EXPECT_EQ(TextOf(window), L"Test Builder");
    EXPECT_EQ(ClassNameOf(window), L"#32770");
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 258);
    EXPECT_EQ(client.bottom, 170);
    EXPECT_FALSE(IsWindowVisible(window)) << "hidden until shown";
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);

    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    for (DWORD bit : {WS_CLIPSIBLINGS, WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX})
        EXPECT_EQ(style & bit, static_cast<LONG_PTR>(bit)) << std::hex << bit;
    for (DWORD bit : {WS_MAXIMIZEBOX, WS_THICKFRAME, WS_CHILD, WS_DISABLED})
        EXPECT_EQ(style & bit, 0) << std::hex << bit;
    LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    for (DWORD bit : {WS_EX_CONTROLPARENT, WS_EX_ACCEPTFILES, WS_EX_TOPMOST})
        EXPECT_EQ(exStyle & bit, static_cast<LONG_PTR>(bit)) << std::hex << bit;
}

TEST_F(MainWindowTest, HasTheSixControlsInTabOrderAtTheirPixelRectangles) {
    ASSERT_NE(Build(), nullptr);
    std::vector<HWND> children = ChildrenInOrder(window);
    ASSERT_EQ(children.size(), std::size(kExpectedMainWindowControls));
    for (size_t i = 0; i < children.size(); ++i) {
        const ExpectedControl& expected = kExpectedMainWindowControls[i];
        HWND control = children[i];
        SCOPED_TRACE(expected.id);
        ExpectPlacedControl(control, expected.id, expected.className, expected.x, expected.y, expected.width,
                            expected.height);
        EXPECT_EQ(TextOf(control), expected.text);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)), expected.style);
        // The system adds the static edge of SS_SUNKEN itself; nothing else is set.
        EXPECT_EQ(GetWindowLongPtrW(control, GWL_EXSTYLE) & ~WS_EX_STATICEDGE, 0);
        EXPECT_EQ(SendMessageW(control, WM_GETFONT, 0, 0), SendMessageW(window, WM_GETFONT, 0, 0));
    }
}

// The colours the drop area is drawn in: its brush, and the text and background colours.
struct DrawnColours {
    COLORREF fill = CLR_INVALID, background = CLR_INVALID, text = CLR_INVALID;
};
DrawnColours ColoursOf(HWND window, HWND control) {
    DrawnColours drawn;
    HDC dc = GetDC(control);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    LOGBRUSH fill = {};
    if (brush && GetObjectW(brush, sizeof fill, &fill)) drawn.fill = fill.lbColor;
    drawn.background = GetBkColor(dc);
    drawn.text = GetTextColor(dc);
    ReleaseDC(control, dc);
    return drawn;
}

// Puts the system's window-text colour back as it was, whatever the test did to it.
class WindowTextColourChange {
public:
    explicit WindowTextColourChange(COLORREF colour) {
        int element = COLOR_WINDOWTEXT;
        SetSysColors(1, &element, &colour);
    }
    ~WindowTextColourChange() {
        int element = COLOR_WINDOWTEXT;
        SetSysColors(1, &element, &original_);
    }
    WindowTextColourChange(const WindowTextColourChange&) = delete;
    WindowTextColourChange& operator=(const WindowTextColourChange&) = delete;

private:
    COLORREF original_ = GetSysColor(COLOR_WINDOWTEXT);
};

// Run again by the ui_dark_scheme test, in a prefix whose colour scheme is light text on a dark
// window (TB_EXPECTED_SCHEME=dark): there the pale yellow would leave the text unreadable, and
// the drop area takes the system's window colours.
TEST_F(MainWindowTest, UnderTheColourSchemeTheDropAreaIsReadable) {
    const char* scheme = std::getenv("TB_EXPECTED_SCHEME");
    bool dark = scheme && std::string(scheme) == "dark";
    ASSERT_EQ(GetSysColor(COLOR_WINDOW) == RGB(0, 0, 0) && GetSysColor(COLOR_WINDOWTEXT) == RGB(255, 255, 255), dark)
        << "the colour scheme this run was arranged for";
    ASSERT_NE(Build(), nullptr);
    HWND dropArea = Item(IDC_DROP_AREA);
    DrawnColours drawn = ColoursOf(window, dropArea);
    COLORREF background = dark ? GetSysColor(COLOR_WINDOW) : RGB(252, 235, 182);
    EXPECT_EQ(drawn.fill, background);
    EXPECT_EQ(drawn.background, background);
    EXPECT_EQ(drawn.text, GetSysColor(COLOR_WINDOWTEXT));

    // A change of scheme while the tool runs: the system tells every window, and the drop area
    // follows at once, with a new brush.
    {
        WindowTextColourChange change(dark ? RGB(0, 0, 0) : RGB(255, 255, 255));
        ASSERT_EQ(GetSysColor(COLOR_WINDOWTEXT), dark ? RGB(0, 0, 0) : RGB(255, 255, 255));
        PumpMessages();
        drawn = ColoursOf(window, dropArea);
        COLORREF now = dark ? RGB(252, 235, 182) : GetSysColor(COLOR_WINDOW);
        EXPECT_EQ(drawn.fill, now);
        EXPECT_EQ(drawn.background, now);
        EXPECT_EQ(drawn.text, GetSysColor(COLOR_WINDOWTEXT));
    }
    PumpMessages();
    drawn = ColoursOf(window, dropArea);
    EXPECT_EQ(drawn.fill, background) << "back with the scheme";
    EXPECT_EQ(drawn.text, GetSysColor(COLOR_WINDOWTEXT));
}

TEST_F(MainWindowTest, LabelShowsTheCurrentTestFile) {
    TestSettings.active = "C:\\Tests\\caf\xE9 invoice.test";  // é in the ANSI code page
    ASSERT_NE(Build(), nullptr);
    EXPECT_EQ(TextOf(Item(IDC_TEST_FILE)), L"C:\\Tests\\caf\u00E9 invoice.test");
}

// An "&" is shown as it stands, and a path too long for the label gives way in its middle (the
// drawing keeps the file name); the label's text stays the whole path either way.
TEST_F(MainWindowTest, LabelTakesAmpersandsLiterallyAndKeepsTheWholePathAsItsText) {
    std::string longPath = "C:\\Work\\R&D\\" + std::string(120, 'x') + "\\parser.test";
    TestSettings.active = longPath;
    ASSERT_NE(Build(), nullptr);
    HWND label = Item(IDC_TEST_FILE);
    LONG_PTR style = GetWindowLongPtrW(label, GWL_STYLE);
    EXPECT_EQ(style & SS_NOPREFIX, SS_NOPREFIX);
    EXPECT_EQ(style & SS_ELLIPSISMASK, SS_PATHELLIPSIS);
    EXPECT_EQ(style & SS_TYPEMASK, SS_LEFT);
    EXPECT_EQ(TextOf(label), ToWide(longPath));
}

TEST_F(MainWindowTest, IconOneIsSetAtThirtyTwoAndSixteenPixels) {
    ASSERT_NE(Build(), nullptr);
    auto big = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    auto little = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(big, icons.bigIcon.Get());
    EXPECT_EQ(little, icons.smallIcon.Get());
    SIZE bigSize = IconSize(big);
    SIZE smallSize = IconSize(little);
    EXPECT_EQ(bigSize.cx, 32);
    EXPECT_EQ(bigSize.cy, 32);
    EXPECT_EQ(smallSize.cx, 16);
    EXPECT_EQ(smallSize.cy, 16);
}

TEST_F(MainWindowTest, OuterBottomRightCornerIsOnThePrimaryWorkAreaCorner) {
    ASSERT_NE(Build(), nullptr);
    RECT area = {};
    GetPrimaryWorkArea(area);
    ASSERT_FALSE(IsRectEmpty(&area));
    RECT outer = {};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right, area.right);
    EXPECT_EQ(outer.bottom, area.bottom);
}

TEST_F(MainWindowTest, FocusComesBackOnceAfterActivation) {
    ASSERT_NE(Build(), nullptr);
    ShowWindow(window, SW_SHOW);
    SetFocus(Item(IDC_SEQUENCE_TESTS));
    SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
    SetFocus(Item(IDC_ADD_ROUTINES));
    SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(GetFocus(), Item(IDC_SEQUENCE_TESTS));
    // A second activation without a deactivation between does not move the focus.
    SetFocus(Item(IDC_RUN_TESTS));
    SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(GetFocus(), Item(IDC_RUN_TESTS));
}

TEST_F(MainWindowTest, CommandButtonsActOnNotificationCodesZeroAndOneOnly) {
    ASSERT_NE(Build(), nullptr);
    // Any other code does nothing, Configure included (it would open its dialog; that it opens
    // on codes 0 and 1 is ConfigureOpensNestedAndASecondOneOnTopOfIt).
    for (int id : {IDC_ADD_ROUTINES, IDC_SEQUENCE_TESTS, IDC_RUN_TESTS, IDC_CONFIGURE})
        for (WORD code : {WORD{2}, WORD{BN_SETFOCUS}, WORD{BN_DOUBLECLICKED + 3}, WORD{0xFFFF}})
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, code), 0);
    EXPECT_TRUE(feedback.Events().empty());
    EXPECT_TRUE(ThreadWindows(L"Configure").empty());
    // With nothing configured, each command reports what is missing: one message per action.
    for (int id : {IDC_ADD_ROUTINES, IDC_SEQUENCE_TESTS, IDC_RUN_TESTS}) {
        SCOPED_TRACE(id);
        feedback.Clear();
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 1), 0);
        EXPECT_EQ(feedback.Messages().size(), 1u);
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
        EXPECT_EQ(feedback.Messages().size(), 2u);
    }
}

TEST_F(MainWindowTest, OkCancelAndCloseMessagesNeitherActNorClose) {
    ASSERT_NE(Build(), nullptr);
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    SendMessageW(window, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(feedback.Events().empty());
    EXPECT_FALSE(PathExists(settingsFile));
}

TEST_F(MainWindowTest, DroppedSourceBecomesTheCurrentTestFile) {
    TempDir folder;
    std::string source = folder / "invoice.bas";
    WriteBytes(source, "' code\r\n");
    TestSettings.directory = "relative";
    ASSERT_NE(Build(), nullptr);
    DeliverDrop(window, {source});
    EXPECT_EQ(TextOf(Item(IDC_TEST_FILE)), ToWide(folder / "invoice.test"));
    EXPECT_TRUE(PathExists(folder / "invoice.test"));
    EXPECT_NE(ReadBytes(settingsFile).find("active=" + (folder / "invoice.test")), std::string::npos);
}

// The label shows the new current test file before the settings are saved: while a slow save
// is under way (here the settings file is held by another program, and the save tries its
// rename again for a while), the new name is already showing. Read from another thread without
// a message, as the busy window cannot answer one.
TEST_F(MainWindowTest, TheLabelShowsTheDroppedFileBeforeTheSaveEnds) {
    TempDir folder;
    std::string source = folder / "invoice.bas";
    WriteBytes(source, "' code\r\n");
    WriteBytes(settingsFile, "active=" + (folder / "old.test") + "\r\n");
    TestSettings.directory = "relative";
    TestSettings.active = folder / "old.test";
    ASSERT_NE(Build(), nullptr);
    HWND label = Item(IDC_TEST_FILE);
    ASSERT_EQ(TextOf(label), ToWide(folder / "old.test"));

    // The save writes the new settings beside the settings file first: what the label shows then.
    auto hold = std::make_unique<ExclusiveHold>(settingsFile);
    ASSERT_TRUE(hold->Held());
    std::wstring shownDuringTheSave = L"(the save was not seen)";
    std::atomic<bool> dropDone{false};
    std::thread watcher([&] {
        const std::wstring beside = ToWide(settingsFile + ".tmp");
        while (!dropDone) {
            if (GetFileAttributesW(beside.c_str()) != INVALID_FILE_ATTRIBUTES) {
                std::vector<wchar_t> text(1024, L'\0');
                InternalGetWindowText(label, text.data(), static_cast<int>(text.size()));
                shownDuringTheSave = text.data();
                return;
            }
            Sleep(1);
        }
    });
    DeliverDrop(window, {source});
    hold.reset();
    dropDone = true;
    watcher.join();
    EXPECT_EQ(shownDuringTheSave, ToWide(folder / "invoice.test"));
    EXPECT_EQ(TextOf(label), ToWide(folder / "invoice.test"));
    EXPECT_TRUE(PathExists(folder / "invoice.test"));
}

// The way to a test file without dragging: the system menu's item (and Ctrl+O) opens the
// standard open-file dialog, owned by the main window and starting in the current test file's
// folder; the chosen name goes where a dropped one goes, and Cancel changes nothing.
TEST_F(MainWindowTest, SystemMenuItemOpensTheOpenFileDialogAndTakesTheChosenNameLikeADrop) {
    TempDir folder;
    std::string source = folder / "invoice.bas";
    WriteBytes(source, "' code\r\n");
    TestSettings.directory = "relative";
    TestSettings.active = folder / "old.test";
    ASSERT_NE(Build(), nullptr);
    ShowWindow(window, SW_SHOW);

    HMENU menu = GetSystemMenu(window, FALSE);
    int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    MENUITEMINFOW separator = {};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(menu, count - 2, TRUE, &separator));
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
    wchar_t itemText[64] = {};
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_OPEN_TEST_FILE));
    GetMenuStringW(menu, count - 1, itemText, 64, MF_BYPOSITION);
    EXPECT_STREQ(itemText, L"&Open test file...\tCtrl+O");

    // Answers the open-file dialog with `name` (OK), or cancels it when `name` is empty.
    struct Seen {
        bool opened = false;
        HWND owner = nullptr;
        std::wstring filter, folder;
    };
    auto choose = [&](const std::string& name) {
        Seen seen;
        TimerScript script([&] {
            std::vector<HWND> others = OtherThreadDialogs({window});
            if (others.empty() || !GetDlgItem(others.front(), IDOK)) return false;
            HWND files = others.front();
            seen.opened = true;
            seen.owner = GetWindow(files, GW_OWNER);
            seen.filter = TextOf(GetDlgItem(files, 1136));
            wchar_t current[MAX_PATH] = {};
            SendMessageW(files, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(current));
            seen.folder = current;
            if (!name.empty()) SetDlgItemTextW(files, 1148, ToWide(name).c_str());
            PostMessageW(files, WM_COMMAND, name.empty() ? IDCANCEL : IDOK, 0);
            return true;
        });
        SendMessageW(window, WM_SYSCOMMAND, IDM_OPEN_TEST_FILE, 0);
        EXPECT_TRUE(script.Finished());
        return seen;
    };

    Seen seen = choose(source);
    EXPECT_TRUE(seen.opened);
    EXPECT_EQ(seen.owner, window);
    EXPECT_EQ(seen.filter, L"BASIC sources and test files");
    std::wstring start = ToWide(folder.Path());
    while (!start.empty() && start.back() == L'\\') start.pop_back();
    EXPECT_EQ(_wcsicmp(seen.folder.c_str(), start.c_str()), 0) << ToAnsi(seen.folder);
    EXPECT_EQ(ReadBytes(folder / "invoice.test"), "[quarex]\r\nsource=" + source + "\r\n");
    EXPECT_EQ(TextOf(Item(IDC_TEST_FILE)), ToWide(folder / "invoice.test"));
    std::string saved = ReadBytes(settingsFile);
    EXPECT_NE(saved.find("active=" + (folder / "invoice.test") + "\r\n"), std::string::npos) << saved;

    // Cancelled: nothing changes, nothing is saved.
    DeleteFileW(ToWide(settingsFile).c_str());
    seen = choose("");
    EXPECT_TRUE(seen.opened);
    EXPECT_EQ(TextOf(Item(IDC_TEST_FILE)), ToWide(folder / "invoice.test"));
    EXPECT_FALSE(PathExists(settingsFile));
    EXPECT_TRUE(feedback.Events().empty());
}

TEST_F(MainWindowTest, ShownModallyItClosesOnlyByTheSystemCloseCommand) {
    bool escapeLeftItOpen = false;
    HWND shown = nullptr;
    TimerScript script(Steps({
        [&] {
            std::vector<HWND> found = ThreadWindows(L"Test Builder");
            if (found.empty()) return false;
            shown = found.front();
            HWND focus = GetFocus();
            PostMessageW(focus ? focus : shown, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageW(focus ? focus : shown, WM_KEYUP, VK_ESCAPE, 0);
            return true;
        },
        [&] {
            escapeLeftItOpen = IsWindow(shown) && IsWindowVisible(shown);
            PostMessageW(shown, WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        },
    }));
    EXPECT_EQ(ShowMainWindow(nullptr, TestSettings), 0);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(escapeLeftItOpen);
    EXPECT_FALSE(IsWindow(shown));
    EXPECT_FALSE(PathExists(settingsFile)) << "closing does not save the settings";
}

TEST_F(MainWindowTest, ConfigureOpensNestedAndASecondOneOnTopOfIt) {
    HWND main = nullptr;
    std::vector<HWND> configures;
    size_t mostOpen = 0;
    bool focusBackOnConfigure = false;
    TimerScript script(Steps({
        [&] {
            std::vector<HWND> found = ThreadWindows(L"Test Builder");
            if (found.empty()) return false;
            main = found.front();
            SetFocus(GetDlgItem(main, IDC_CONFIGURE));
            PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_CONFIGURE, 1), 0);
            return true;
        },
        [&] {
            if (ThreadWindows(L"Configure").size() != 1) return false;
            // The main window's buttons still take clicks through the dialog's loop.
            PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_CONFIGURE, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_CONFIGURE)));
            return true;
        },
        [&] {
            configures = ThreadWindows(L"Configure");
            mostOpen = std::max(mostOpen, configures.size());
            if (configures.size() != 2) return false;
            for (HWND dialog : configures) PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        },
        [&] {
            if (!ThreadWindows(L"Configure").empty()) return false;
            focusBackOnConfigure = GetFocus() == GetDlgItem(main, IDC_CONFIGURE);
            PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        },
    }));
    ShowMainWindow(nullptr, TestSettings);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(mostOpen, 2u);
    EXPECT_TRUE(focusBackOnConfigure);
    for (HWND dialog : configures) EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(PathExists(settingsFile)) << "each Configure dialog saves when it closes";
}

// Run again by the ui_dpi* tests, in prefixes of 144 and 120 DPI.
TEST_F(MainWindowTest, AtTheSystemScaleEveryLengthIsScaledAndEveryTextFits) {
    int dpi = ExpectedDpi();
    ASSERT_EQ(ScreenDpi(), dpi) << "the display scale this run was arranged for";
    ASSERT_NE(Build(), nullptr);
    ExpectLayoutAt(window, kExpectedMainWindowControls, 258, 170, dpi);

    // The icons at the system's icon sizes for this scale; the corner still on the work area's.
    SIZE bigSize = IconSize(icons.bigIcon.Get());
    SIZE smallSize = IconSize(icons.smallIcon.Get());
    EXPECT_EQ(bigSize.cx, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(bigSize.cy, GetSystemMetrics(SM_CYICON));
    EXPECT_EQ(smallSize.cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(smallSize.cy, GetSystemMetrics(SM_CYSMICON));
    RECT area = {};
    GetPrimaryWorkArea(area);
    RECT outer = {};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right, area.right);
    EXPECT_EQ(outer.bottom, area.bottom);
}

// What the system sends when the window is dragged onto a monitor of another scale.
TEST_F(MainWindowTest, MovedToAnotherScaleItLaysOutAgainAndTakesTheSuggestedRectangle) {
    ASSERT_NE(Build(), nullptr);
    int dpi = ScreenDpi() * 3 / 2;
    RECT outer = {}, client = {};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    // The rectangle the system suggests: elsewhere, with room for the scaled client area inside
    // this frame.
    RECT suggested = {outer.left - 300, outer.top - 200, 0, 0};
    suggested.right = suggested.left + (outer.right - outer.left) - client.right + Scaled(258, dpi);
    suggested.bottom = suggested.top + (outer.bottom - outer.top) - client.bottom + Scaled(170, dpi);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));

    RECT now = {};
    GetWindowRect(window, &now);
    EXPECT_TRUE(EqualRect(&now, &suggested)) << now.left << "," << now.top << " " << now.right - now.left << "x"
                                             << now.bottom - now.top;
    ExpectLayoutAt(window, kExpectedMainWindowControls, 258, 170, dpi);

    // Icons of the sizes for the new scale, where the system can tell them for another DPI.
    using MetricForDpi = int(WINAPI*)(int, UINT);
    auto metric = reinterpret_cast<MetricForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    if (!metric) GTEST_SKIP() << "no system metrics for another DPI";
    auto big = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    auto little = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(big, icons.bigIcon.Get());
    EXPECT_EQ(little, icons.smallIcon.Get());
    EXPECT_EQ(IconSize(big).cx, metric(SM_CXICON, static_cast<UINT>(dpi)));
    EXPECT_EQ(IconSize(little).cx, metric(SM_CXSMICON, static_cast<UINT>(dpi)));
}

namespace {

// The processor time this process has used, in seconds.
double ProcessorSeconds() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    auto seconds = [](FILETIME time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

}  // namespace

// The window is moved by the system's own loop inside the wait, and a drop comes while it runs:
// the drop is held by the tool, so the move loop has nothing to take again and again, and the
// wait costs no more processor time than one where nothing happens. The drop acts afterwards.
TEST_F(MainWindowTest, MovedDuringAWaitWithADropHeldItUsesNoMoreProcessorTimeThanAnIdleWait) {
    TempDir folder;
    std::string program = folder / "slow.exe";
    InstallStandin(program);
    WriteStandinPlan(program, "sleep=2500\r\n");
    std::string source = folder / "moved.bas";
    WriteBytes(source, "' code\r\n");
    TestSettings.directory = "relative";
    ASSERT_NE(Build(), nullptr);
    ShowWindow(window, SW_SHOW);
    PumpMessages();

    double idleStart = ProcessorSeconds();
    ASSERT_TRUE(LaunchProgram("\"" + program + "\"", 0, Wait::UntilEnd).started);
    double idle = ProcessorSeconds() - idleStart;

    RECT before = {};
    GetWindowRect(window, &before);
    // Another thread, as the user and the shell: the keyboard move of the window menu's Move,
    // a drop while it runs, the window moved to the left, and Enter to end the move.
    std::thread user([&] {
        Sleep(300);
        PostMessageW(window, WM_SYSCOMMAND, SC_MOVE, 0);
        Sleep(300);
        PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({source})), 0);
        for (int step = 0; step < 4; ++step) {
            PostMessageW(window, WM_KEYDOWN, VK_LEFT, 0);
            Sleep(50);
        }
        Sleep(1000);
        PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    });
    double movingStart = ProcessorSeconds();
    LaunchResult run = LaunchProgram("\"" + program + "\"", 0, Wait::UntilEnd);
    double moving = ProcessorSeconds() - movingStart;
    user.join();

    ASSERT_TRUE(run.started);
    RECT after = {};
    GetWindowRect(window, &after);
    EXPECT_FALSE(EqualRect(&before, &after)) << "the window did not move during the wait";
    EXPECT_EQ(TextOf(Item(IDC_TEST_FILE)), L"") << "the drop acted inside the wait";
    // A loop that takes a message again and again uses a whole processor for the second it
    // runs; the idle wait's own time, measured alike, allows for everything else.
    EXPECT_LT(moving, idle + 0.3) << "idle wait " << idle << " s, wait with the move " << moving << " s";

    while (DispatchHeldMessage()) {
    }
    EXPECT_EQ(TextOf(Item(IDC_TEST_FILE)), ToWide(folder / "moved.test"));
}
