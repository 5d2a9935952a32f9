#pragma once
#include <windows.h>

#include <vector>

// The primary monitor's work area, from a monitor list taken once per process. Leaves `area`
// as it was when no monitor is known.
void GetPrimaryWorkArea(RECT& area);

// How many times this process has listed the monitors (once, unless there were none). For the
// tests.
int MonitorListingCount();

// The choice itself, over a given list: the primary entry, else the first, else `area` as is.
// Public for the tests.
void PickWorkArea(const std::vector<RECT>& workAreas, int primaryIndex, RECT& area);

// Keeps a non-empty `area`; an empty one (no monitor listed, or one that could not be read)
// becomes the system's work area of the primary screen. False when there is none either.
bool WorkAreaOrSystemDefault(RECT& area);

// Moves a window, size and z-order unchanged, so that its outer bottom-right corner lies on
// the area's bottom-right corner.
void PlaceAtBottomRight(HWND window, const RECT& area);

// Moves a window, size and z-order unchanged, so that its outer bottom-right corner lies on
// `corner` (screen pixels); with `clampAtOrigin`, neither left nor top goes below 0. A window
// that the move takes onto a display of another scale changes its size there, and is placed
// once more with that size.
void PlaceBottomRightAt(HWND window, POINT corner, bool clampAtOrigin);

// Where a window of `size` goes so that it lies wholly inside `area`: at `wanted` (its top-left
// corner) where it fits there, otherwise moved the least that brings it inside. A window larger
// than the area keeps its top-left corner (caption and system menu) inside it. Public for the
// tests.
POINT TopLeftInside(POINT wanted, SIZE size, const RECT& area);

// Moves a window, size and z-order unchanged, to the top-left corner `wanted` (screen pixels),
// or the least away from it that keeps the window wholly inside the work area of the monitor
// it is then on. A window that the move takes onto a display of another scale changes its size
// there, and is placed once more with that size.
void PlaceTopLeftOnScreen(HWND window, POINT wanted);
