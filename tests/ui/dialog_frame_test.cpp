// The frame both windows stand on: pixel sizes, font, controls, colours and the modal loop.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "ui/dialog_frame.h"
#include "ui/modal_loop.h"
#include "ui/static_colours.h"
#include "ui_test_support.h"

namespace {

constexpr DWORD kCaptionedStyle = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU |
                                  WS_MINIMIZEBOX | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
constexpr DWORD kModalFrameStyle = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | DS_MODALFRAME |
                                   DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;

// Every message the handler saw, with its parameters, for the order of events.
struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Seen> seen;

void RecordingHandler(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back({message, wParam, lParam});
}

// Where `message` first appears in what the handler saw, from `start` on; -1 when it never came.
int FirstIndexOf(UINT message, int start = 0) {
    for (size_t i = static_cast<size_t>(start); i < seen.size(); ++i)
        if (seen[i].message == message) return static_cast<int>(i);
    return -1;
}

int CountOf(UINT message) {
    int count = 0;
    for (const Seen& entry : seen) count += entry.message == message;
    return count;
}

class DialogFrameTest : public ::testing::Test {
protected:
    void SetUp() override { seen.clear(); }
    void TearDown() override {
        for (HWND dialog : dialogs)
            if (IsWindow(dialog)) DestroyWindow(dialog);
        PumpMessages();
    }
    HWND Make(DWORD style, int width, int height, FrameHandler handler = RecordingHandler) {
        HWND dialog = CreateDialogFrame(nullptr, L"Frame", style, WS_EX_CONTROLPARENT, width, height, handler);
        dialogs.push_back(dialog);
        return dialog;
    }
    std::vector<HWND> dialogs;
};

}  // namespace

TEST_F(DialogFrameTest, ClientAreaIsExactlyThePixelsAskedForWithEitherFrame) {
    struct Case {
        DWORD style;
        int width, height;
    };
    for (Case c : {Case{kCaptionedStyle, 258, 170}, Case{kModalFrameStyle, 352, 416},
                   Case{kCaptionedStyle, 150, 33}, Case{kModalFrameStyle, 640, 20}}) {
        HWND dialog = Make(c.style, c.width, c.height);
        ASSERT_NE(dialog, nullptr);
        RECT client = {};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, c.width);
        EXPECT_EQ(client.bottom, c.height);
        EXPECT_FALSE(IsWindowVisible(dialog)) << "created hidden";
        LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
        EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
                  c.style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
        EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
        EXPECT_EQ(ClassNameOf(dialog), L"#32770");
        EXPECT_EQ(TextOf(dialog), L"Frame");
    }
}

TEST_F(DialogFrameTest, DialogAndControlsUseMsSansSerifOfEightPoints) {
    HWND dialog = Make(kCaptionedStyle, 200, 100);
    HWND button = AddControl(dialog, 1012, L"BUTTON", L"&Go", 8, 8, 90, 24,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON);
    auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW description = {};
    ASSERT_TRUE(GetObjectW(font, sizeof description, &description));
    EXPECT_STREQ(description.lfFaceName, L"MS Sans Serif");
    HDC screen = GetDC(nullptr);
    int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(description.lfHeight, -MulDiv(8, dotsPerInch, 72));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)), font);
}

TEST_F(DialogFrameTest, ControlsSitAtTheirPixelRectanglesInCreationOrder) {
    HWND dialog = Make(kModalFrameStyle, 352, 416);
    HWND first = AddControl(dialog, 1016, L"BUTTON", L"Group", 8, 8, 337, 73, WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                            WS_EX_CONTROLPARENT);
    HWND second = AddControl(dialog, 1004, L"EDIT", L"text", 75, 49, 233, 24,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    HWND third = AddControl(dialog, 1034, L"BUTTON", L"&Done", 8, 382, 82, 24, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    EXPECT_EQ(ChildrenInOrder(dialog), (std::vector<HWND>{first, second, third}));
    RECT rect = ControlRect(second);
    EXPECT_EQ(rect.left, 75);
    EXPECT_EQ(rect.top, 49);
    EXPECT_EQ(rect.right, 75 + 233);
    EXPECT_EQ(rect.bottom, 49 + 24);
    EXPECT_EQ(GetDlgCtrlID(third), 1034);
    EXPECT_EQ(TextOf(second), L"text");
    EXPECT_TRUE(GetWindowLongPtrW(second, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetDlgItem(dialog, 1016), first);
}

TEST_F(DialogFrameTest, StaticColoursGiveBackgroundBrushAndSystemTextColour) {
    HWND dialog = Make(kCaptionedStyle, 258, 170);
    HWND coloured = AddControl(dialog, 1011, L"STATIC", L"Drop", 106, 8, 140, 122, WS_CHILD | WS_VISIBLE);
    HWND plain = AddControl(dialog, 1060, L"STATIC", L"", 8, 138, 238, 24, WS_CHILD | WS_VISIBLE);
    const COLORREF pale = RGB(252, 235, 182);
    SetStaticColours(coloured, COLOR_WINDOWTEXT, pale);

    HDC dc = GetDC(coloured);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(coloured)));
    ASSERT_NE(brush, nullptr);
    LOGBRUSH fill = {};
    ASSERT_TRUE(GetObjectW(brush, sizeof fill, &fill));
    EXPECT_EQ(fill.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(fill.lbColor, pale);
    EXPECT_EQ(GetBkColor(dc), pale);
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));
    ReleaseDC(coloured, dc);

    // Any other static keeps the dialog's usual colours.
    HDC plainDc = GetDC(plain);
    auto plainBrush = reinterpret_cast<HBRUSH>(
        SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(plainDc), reinterpret_cast<LPARAM>(plain)));
    EXPECT_NE(plainBrush, brush);
    EXPECT_NE(GetBkColor(plainDc), pale);
    ReleaseDC(plain, plainDc);
}

TEST_F(DialogFrameTest, ModalLoopShowsTheDialogAndEndsItOnTheSystemCloseCommand) {
    HWND dialog = Make(kCaptionedStyle, 258, 170);
    bool visibleWhileRunning = false;
    TimerScript script([&] {
        if (!IsWindowVisible(dialog)) return false;
        visibleWhileRunning = true;
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    });
    EXPECT_EQ(RunModalDialog(dialog), 0);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(visibleWhileRunning);
    EXPECT_FALSE(IsWindow(dialog));

    // The handler's own WM_INITDIALOG (not the one of creation), then the client size, and at
    // the end WM_CLOSE before the window goes.
    EXPECT_EQ(CountOf(WM_INITDIALOG), 1);
    int init = FirstIndexOf(WM_INITDIALOG);
    int size = FirstIndexOf(WM_SIZE, init);
    int close = FirstIndexOf(WM_CLOSE);
    int destroy = FirstIndexOf(WM_DESTROY);
    ASSERT_GE(init, 0);
    ASSERT_GT(size, init);
    EXPECT_EQ(seen[static_cast<size_t>(size)].lParam, MAKELPARAM(258, 170));
    ASSERT_GT(close, size);
    EXPECT_GT(destroy, close);
}

TEST_F(DialogFrameTest, CloseMessageAloneAndCancelDoNotEndTheDialog) {
    HWND dialog = Make(kCaptionedStyle, 258, 170);
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    PumpMessages();
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(CountOf(WM_DESTROY), 0);
}

TEST_F(DialogFrameTest, EndingDeliversCloseToTheHandlerAndDestroys) {
    HWND dialog = Make(kModalFrameStyle, 100, 100);
    EndDialogFrame(dialog);
    EXPECT_FALSE(IsWindow(dialog));
    ASSERT_GE(FirstIndexOf(WM_CLOSE), 0);
    EXPECT_LT(FirstIndexOf(WM_CLOSE), FirstIndexOf(WM_DESTROY));
}

// The loop sleeps in GetMessageW. A dialog destroyed by a message sent from another thread is
// handled inside GetMessageW, which returns only for a posted message; the loop must still end.
TEST_F(DialogFrameTest, ModalLoopEndsWhenAnotherThreadClosesTheDialog) {
    HWND dialog = Make(kCaptionedStyle, 120, 80);
    DWORD loopThread = GetCurrentThreadId();
    std::atomic<bool> loopEnded{false};
    std::atomic<bool> nudged{false};
    std::thread closer([&] {
        while (!IsWindowVisible(dialog)) Sleep(10);
        SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        // A generous grace period: only a loop that never wakes needs this message.
        for (int i = 0; i < 1000 && !loopEnded; ++i) Sleep(10);
        if (!loopEnded) {
            nudged = true;
            PostThreadMessageW(loopThread, WM_APP, 0, 0);
        }
    });
    RunModalDialog(dialog);
    loopEnded = true;
    closer.join();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(nudged) << "the loop slept on after its window was gone";
    PumpMessages();
}

TEST_F(DialogFrameTest, QuitEndsEveryNestedLoopAndStaysForTheOutermost) {
    HWND outer = Make(kCaptionedStyle, 200, 100);
    HWND inner = Make(kModalFrameStyle, 100, 50);
    // The outer dialog's first tick runs the inner one nested, as a button handler would.
    bool innerReturned = false;
    TimerScript script([&] {
        if (!IsWindowVisible(outer)) return false;
        PostQuitMessage(7);
        RunModalDialog(inner);
        innerReturned = true;
        return true;
    });
    RunModalDialog(outer);
    EXPECT_TRUE(innerReturned);
    EXPECT_FALSE(IsWindow(inner));
    EXPECT_FALSE(IsWindow(outer));
    MSG quit = {};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
}

TEST_F(DialogFrameTest, EachDialogKeepsItsOwnSavedFocus) {
    HWND first = Make(kCaptionedStyle, 200, 100);
    HWND second = Make(kCaptionedStyle, 200, 100);
    const DWORD button = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    HWND firstA = AddControl(first, 1, L"BUTTON", L"A", 0, 0, 50, 20, button);
    HWND firstB = AddControl(first, 2, L"BUTTON", L"B", 0, 30, 50, 20, button);
    HWND secondA = AddControl(second, 1, L"BUTTON", L"A", 0, 0, 50, 20, button);
    ShowWindow(first, SW_SHOW);
    ShowWindow(second, SW_SHOW);

    // The frame keeps the focus across activations (WM_NCACTIVATE), for every window built on
    // it and for each window apart.
    SetActiveWindow(first);
    SetFocus(firstB);
    SetActiveWindow(second);  // first remembers firstB
    SetFocus(secondA);
    SetActiveWindow(first);  // second remembers secondA; first gives firstB the focus back
    EXPECT_EQ(GetFocus(), firstB);
    // Used once: a repeated activation leaves the focus where it is.
    SetFocus(firstA);
    SendMessageW(first, WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(GetFocus(), firstA);
    SetActiveWindow(second);
    EXPECT_EQ(GetFocus(), secondA);
}

