#pragma once
// The controls both windows must have, in creation order (which is also the order of the
// children and the tab order), with class, text, 96 DPI rectangle and styles. One table per
// window for the in-process and the end-to-end tests alike.
#include <windows.h>

#include "ui/control_ids.h"

struct ExpectedControl {
    int id;
    const wchar_t* className;
    const wchar_t* text;  // "" for the edits, whose text comes from the settings
    int x, y, width, height;
    DWORD style;
    DWORD exStyle;
};

namespace expected_styles {
constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kSunken = WS_CHILD | WS_VISIBLE | SS_SUNKEN;
constexpr DWORD kGroup = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD kFirstRadio = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON;
constexpr DWORD kRadio = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON;
constexpr DWORD kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD kBrowse = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;
}  // namespace expected_styles

inline constexpr ExpectedControl kExpectedMainWindowControls[] = {
    {IDC_DROP_AREA, L"Static", L"\r\n\r\n\r\n\r\nDrop Files Here", 106, 8, 140, 122,
     expected_styles::kSunken | SS_CENTER, 0},
    {IDC_ADD_ROUTINES, L"Button", L"&Add routines", 8, 8, 90, 24, expected_styles::kButton, 0},
    {IDC_SEQUENCE_TESTS, L"Button", L"&Sequence tests", 8, 41, 90, 24, expected_styles::kButton, 0},
    {IDC_RUN_TESTS, L"Button", L"&Run tests", 8, 73, 90, 25, expected_styles::kButton, 0},
    {IDC_CONFIGURE, L"Button", L"&Configure", 8, 106, 90, 24, expected_styles::kButton, 0},
    {IDC_TEST_FILE, L"Static", L"", 8, 138, 238, 24,
     expected_styles::kSunken | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, 0},
};

// The shown controls only: the never-shown labels that name the path edits for screen readers
// are no part of the layout.
inline constexpr ExpectedControl kExpectedConfigureControls[] = {
    {IDC_TESTDIR_GROUP, L"Button", L"Test directory", 8, 8, 337, 73, expected_styles::kGroup, WS_EX_CONTROLPARENT},
    {IDC_RELATIVE, L"Button", L"Relative", 15, 21, 127, 26, expected_styles::kFirstRadio, 0},
    {IDC_SPECIFIC, L"Button", L"Specific", 15, 49, 60, 24, expected_styles::kRadio, 0},
    {IDC_OUTPUT_PATH, L"Edit", L"", 75, 49, 233, 24, expected_styles::kEdit, WS_EX_CLIENTEDGE},
    {IDC_OUTPUT_BROWSE, L"Button", L"...", 315, 49, 23, 24, expected_styles::kBrowse, 0},
    {IDC_COMPILER_GROUP, L"Button", L"Compiler", 8, 98, 337, 89, expected_styles::kGroup, WS_EX_CONTROLPARENT},
    {IDC_PBWIN, L"Button", L"PbWin", 15, 110, 53, 26, expected_styles::kFirstRadio, 0},
    {IDC_PBWIN_PATH, L"Edit", L"", 82, 114, 226, 24, expected_styles::kEdit, WS_EX_CLIENTEDGE},
    {IDC_PBWIN_BROWSE, L"Button", L"...", 315, 114, 23, 24, expected_styles::kBrowse, 0},
    {IDC_PBCC, L"Button", L"PbCC", 15, 146, 67, 25, expected_styles::kRadio, 0},
    {IDC_PBCC_PATH, L"Edit", L"", 82, 146, 226, 25, expected_styles::kEdit, WS_EX_CLIENTEDGE},
    {IDC_PBCC_BROWSE, L"Button", L"...", 315, 146, 23, 25, expected_styles::kBrowse, 0},
    {IDC_QUAREX_LABEL, L"Static", L"Quarex", 15, 203, 60, 16, expected_styles::kLabel, 0},
    {IDC_QUAREX_PATH, L"Edit", L"", 82, 195, 226, 24, expected_styles::kEdit, WS_EX_CLIENTEDGE},
    {IDC_QUAREX_BROWSE, L"Button", L"...", 315, 195, 23, 24, expected_styles::kBrowse, 0},
    {IDC_INCLUDE_GROUP, L"Button", L"Include directories", 8, 228, 337, 146, expected_styles::kGroup,
     WS_EX_CONTROLPARENT},
    {IDC_INCLUDE_1, L"Button", L"1", 15, 240, 53, 26, expected_styles::kFirstRadio, 0},
    {IDC_INCL1_PATH, L"Edit", L"", 82, 244, 256, 24, expected_styles::kEdit, WS_EX_CLIENTEDGE},
    {IDC_INCLUDE_2, L"Button", L"2", 15, 276, 67, 25, expected_styles::kRadio, 0},
    {IDC_INCL2_PATH, L"Edit", L"", 82, 276, 256, 25, expected_styles::kEdit, WS_EX_CLIENTEDGE},
    {IDC_INCL3_PATH, L"Edit", L"", 82, 310, 256, 24, expected_styles::kEdit, WS_EX_CLIENTEDGE},
    {IDC_INCLUDE_3, L"Button", L"3", 15, 310, 67, 24, expected_styles::kRadio, 0},
    {IDC_INCL4_PATH, L"Edit", L"", 82, 341, 256, 25, expected_styles::kEdit, WS_EX_CLIENTEDGE},
    {IDC_INCLUDE_4, L"Button", L"4", 15, 341, 67, 25, expected_styles::kRadio, 0},
    {IDC_DONE, L"Button", L"&Done", 8, 382, 82, 24, expected_styles::kButton, 0},
};
