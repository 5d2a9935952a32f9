#include "ui/placement.h"

#include <algorithm>

namespace {

// The monitors as first listed, in the platform's order, and which of them is primary (-1 when
// none is known). Listed once per process: monitors changed later are not seen.
std::vector<RECT> MonitorWorkAreas;
int PrimaryMonitorIndex = -1;
int MonitorListings = 0;

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);  // a monitor that cannot be read stays all zero
    MonitorWorkAreas.push_back(info.rcWork);
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        PrimaryMonitorIndex = static_cast<int>(MonitorWorkAreas.size()) - 1;
    return TRUE;
}

}  // namespace

void GetPrimaryWorkArea(RECT& area) {
    if (MonitorWorkAreas.empty()) {
        PrimaryMonitorIndex = -1;
        ++MonitorListings;
        EnumDisplayMonitors(nullptr, nullptr, AddMonitor, 0);
    }
    PickWorkArea(MonitorWorkAreas, PrimaryMonitorIndex, area);
}

int MonitorListingCount() { return MonitorListings; }

void PickWorkArea(const std::vector<RECT>& workAreas, int primaryIndex, RECT& area) {
    if (primaryIndex >= 0 && static_cast<size_t>(primaryIndex) < workAreas.size())
        CopyRect(&area, &workAreas[static_cast<size_t>(primaryIndex)]);
    else if (!workAreas.empty())
        CopyRect(&area, &workAreas.front());
}

bool WorkAreaOrSystemDefault(RECT& area) {
    if (!IsRectEmpty(&area)) return true;
    RECT system = {};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &system, 0) || IsRectEmpty(&system)) return false;
    area = system;
    return true;
}

void PlaceAtBottomRight(HWND window, const RECT& area) {
    PlaceBottomRightAt(window, {area.right, area.bottom}, false);
}

namespace {

// Moves a window, size and z-order unchanged, to the top-left corner that `topLeftFor` gives for
// its outer size. A move onto a display of another scale may change that size, or shift the
// window as it rescales: it is then placed once more, for the size it has there.
template <typename TopLeftFor>
void MoveForItsSize(HWND window, TopLeftFor topLeftFor) {
    for (int pass = 0; pass < 2; ++pass) {
        RECT outer;
        if (!GetWindowRect(window, &outer)) return;
        SIZE size = {outer.right - outer.left, outer.bottom - outer.top};
        POINT target = topLeftFor(size);
        SetWindowPos(window, nullptr, target.x, target.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        RECT placed;
        if (!GetWindowRect(window, &placed) ||
            (placed.left == target.x && placed.top == target.y && placed.right - placed.left == size.cx &&
             placed.bottom - placed.top == size.cy))
            return;
    }
}

}  // namespace

void PlaceBottomRightAt(HWND window, POINT corner, bool clampAtOrigin) {
    MoveForItsSize(window, [&](SIZE size) {
        POINT topLeft = {corner.x - size.cx, corner.y - size.cy};
        if (clampAtOrigin) {
            topLeft.x = std::max(topLeft.x, 0L);
            topLeft.y = std::max(topLeft.y, 0L);
        }
        return topLeft;
    });
}

POINT TopLeftInside(POINT wanted, SIZE size, const RECT& area) {
    POINT placed = wanted;
    placed.x = std::max(std::min(placed.x, area.right - size.cx), area.left);
    placed.y = std::max(std::min(placed.y, area.bottom - size.cy), area.top);
    return placed;
}

void PlaceTopLeftOnScreen(HWND window, POINT wanted) {
    MoveForItsSize(
        window,
        [&](SIZE size) {
            RECT there = {wanted.x, wanted.y, wanted.x + size.cx, wanted.y + size.cy};
            MONITORINFO monitor = {};
            monitor.cbSize = sizeof monitor;
            if (!GetMonitorInfoW(MonitorFromRect(&there, MONITOR_DEFAULTTONEAREST), &monitor)) return wanted;
            return TopLeftInside(wanted, size, monitor.rcWork);
        });
}
