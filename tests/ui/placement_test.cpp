// Which work area the main window aligns to, and how a real window is moved onto it.
#include <gtest/gtest.h>

#include "ui/placement.h"

#include <vector>

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A hidden top-level window of a given outer size, frame and caption included.
class PlainWindow {
public:
    PlainWindow(int width, int height, DWORD style = WS_POPUP) {
        window_ = CreateWindowExW(0, L"STATIC", L"placed", style, 0, 0, width, height, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~PlainWindow() { DestroyWindow(window_); }
    HWND Get() const { return window_; }
    RECT Outer() const {
        RECT rect = {};
        GetWindowRect(window_, &rect);
        return rect;
    }

private:
    HWND window_;
};

constexpr RECT kFirst = {0, 0, 1920, 1040};
constexpr RECT kSecond = {1920, -200, 3200, 824};

}  // namespace

TEST(PickWorkArea, ThePrimaryEntryWinsWhereverItWasListed) {
    RECT area = {};
    PickWorkArea({kFirst, kSecond}, 0, area);
    EXPECT_TRUE(SameRect(area, kFirst));
    PickWorkArea({kFirst, kSecond}, 1, area);
    EXPECT_TRUE(SameRect(area, kSecond));
}

TEST(PickWorkArea, WithoutAPrimaryTheFirstListedIsUsed) {
    RECT area = {};
    PickWorkArea({kSecond, kFirst}, -1, area);
    EXPECT_TRUE(SameRect(area, kSecond));
    // An index past the list names no monitor either.
    PickWorkArea({kFirst, kSecond}, 2, area);
    EXPECT_TRUE(SameRect(area, kFirst));
}

TEST(PickWorkArea, WithoutMonitorsTheRectangleIsLeftAlone) {
    RECT area = {7, 8, 9, 10};
    PickWorkArea({}, -1, area);
    EXPECT_TRUE(SameRect(area, RECT{7, 8, 9, 10}));
    PickWorkArea({}, 0, area);
    EXPECT_TRUE(SameRect(area, RECT{7, 8, 9, 10}));
}

TEST(PlaceAtBottomRight, OuterCornerLandsOnTheAreaCorner) {
    PlainWindow window(300, 400);
    PlaceAtBottomRight(window.Get(), RECT{0, 0, 800, 560});
    EXPECT_TRUE(SameRect(window.Outer(), RECT{500, 160, 800, 560}));
}

TEST(PlaceAtBottomRight, OffsetAreasAlignToTheirRightAndBottomEdges) {
    PlainWindow window(300, 400);
    // Taskbar on the left, at the top, and a monitor left of and above the origin.
    for (RECT area : {RECT{60, 0, 1024, 768}, RECT{0, 40, 1024, 768}, RECT{-1280, -300, 0, 724}}) {
        PlaceAtBottomRight(window.Get(), area);
        EXPECT_TRUE(SameRect(window.Outer(), RECT{area.right - 300, area.bottom - 400, area.right, area.bottom}))
            << area.left << "," << area.top << "," << area.right << "," << area.bottom;
    }
}

TEST(PlaceAtBottomRight, FrameAndCaptionAreMeasuredNotAssumed) {
    PlainWindow window(200, 150, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    RECT before = window.Outer();
    PlaceAtBottomRight(window.Get(), RECT{100, 50, 900, 650});
    RECT after = window.Outer();
    EXPECT_EQ(after.right, 900);
    EXPECT_EQ(after.bottom, 650);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

namespace {

// The flags of every move the window was asked for, as WM_WINDOWPOSCHANGING brings them, less
// those the system adds of its own.
std::vector<UINT> askedMoves;
WNDPROC staticProcedure = nullptr;

LRESULT CALLBACK RecordMoves(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING) {
        constexpr UINT kCallersFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE |
                                       SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_NOCOPYBITS |
                                       SWP_NOOWNERZORDER | SWP_NOSENDCHANGING | SWP_DEFERERASE | SWP_ASYNCWINDOWPOS;
        askedMoves.push_back(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & kCallersFlags);
    }
    return CallWindowProcW(staticProcedure, window, message, wParam, lParam);
}

}  // namespace

// Both windows are moved with exactly SWP_NOSIZE | SWP_NOZORDER, the call the start-up
// benchmark's baseline makes too.
TEST(PlaceAtBottomRight, MovesWithNoSizeAndNoZOrderExactly) {
    PlainWindow window(300, 400, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
    staticProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordMoves)));
    askedMoves.clear();
    PlaceAtBottomRight(window.Get(), RECT{0, 0, 800, 560});
    PlaceBottomRightAt(window.Get(), POINT{100, 100}, true);
    EXPECT_EQ(askedMoves, (std::vector<UINT>{SWP_NOSIZE | SWP_NOZORDER, SWP_NOSIZE | SWP_NOZORDER}));
    EXPECT_TRUE(SameRect(window.Outer(), RECT{0, 0, 300, 400}));
    SetWindowLongPtrW(window.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(staticProcedure));
}

TEST(PlaceAtBottomRight, AWindowLargerThanTheAreaIsNeitherShrunkNorClamped) {
    PlainWindow window(300, 400);
    PlaceAtBottomRight(window.Get(), RECT{0, 0, 200, 300});
    EXPECT_TRUE(SameRect(window.Outer(), RECT{-100, -100, 200, 300}));
}

TEST(GetPrimaryWorkArea, IsThePrimaryMonitorsWorkAreaListedOnce) {
    MONITORINFO primary = {};
    primary.cbSize = sizeof primary;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary));

    RECT area = {1, 2, 3, 4};
    GetPrimaryWorkArea(area);
    EXPECT_TRUE(SameRect(area, primary.rcWork));
    EXPECT_EQ(MonitorListingCount(), 1);

    RECT again = {};
    GetPrimaryWorkArea(again);
    EXPECT_TRUE(SameRect(again, area));
    EXPECT_EQ(MonitorListingCount(), 1);
}

TEST(WorkAreaOrSystemDefault, AnEmptyAreaBecomesTheSystemsWorkAreaAndAnyOtherStays) {
    RECT system = {};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &system, 0));
    RECT none = {};
    EXPECT_TRUE(WorkAreaOrSystemDefault(none));
    EXPECT_TRUE(SameRect(none, system));
    // A monitor that could not be read gives an empty, not necessarily zero, rectangle.
    RECT flat = {300, 200, 300, 900};
    EXPECT_TRUE(WorkAreaOrSystemDefault(flat));
    EXPECT_TRUE(SameRect(flat, system));

    RECT offset = {-1280, 0, 0, 1024};
    EXPECT_TRUE(WorkAreaOrSystemDefault(offset));
    EXPECT_TRUE(SameRect(offset, RECT{-1280, 0, 0, 1024}));
}

TEST(TopLeftInside, KeepsTheCornerWhereTheWindowFitsElseMovesTheLeast) {
    // A work area away from the origin, as a second monitor's or one beside a taskbar.
    static constexpr RECT kArea = {1920, -200, 3200, 824};
    static constexpr SIZE kSize = {650, 450};
    auto at = [](POINT wanted) { return TopLeftInside(wanted, kSize, kArea); };
    POINT fits = at({2000, 100});
    EXPECT_EQ(fits.x, 2000);
    EXPECT_EQ(fits.y, 100);
    POINT pastRight = at({2900, 100});  // only leftwards
    EXPECT_EQ(pastRight.x, 3200 - 650);
    EXPECT_EQ(pastRight.y, 100);
    POINT pastBottom = at({2000, 700});  // only upwards
    EXPECT_EQ(pastBottom.x, 2000);
    EXPECT_EQ(pastBottom.y, 824 - 450);
    POINT aboveLeft = at({100, -900});
    EXPECT_EQ(aboveLeft.x, 1920);
    EXPECT_EQ(aboveLeft.y, -200);
    // Larger than the area: its top-left corner, caption and all, stays inside.
    POINT tooLarge = TopLeftInside({2500, 300}, {2000, 1500}, kArea);
    EXPECT_EQ(tooLarge.x, 1920);
    EXPECT_EQ(tooLarge.y, -200);
}
