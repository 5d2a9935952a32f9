#include "ui/main_window.h"

#include <shellapi.h>

#include <string>

#include "core/settings_record.h"
#include "platform/ansi.h"
#include "core/text.h"
#include "ui/configure_dialog.h"
#include "ui/control_ids.h"
#include "platform/system_functions.h"
#include "ui/dialog_frame.h"
#include "ui/dialog_scale.h"
#include "ui/file_dialogs.h"
#include "ui/modal_loop.h"
#include "ui/static_colours.h"
#include "ui/placement.h"
#include "ui/window_feedback.h"
#include "workflow/commands.h"
#include "workflow/drop.h"

namespace {

constexpr DWORD kMainWindowStyle = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU |
                                   WS_MINIMIZEBOX | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
constexpr DWORD kMainWindowExStyle = WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES | WS_EX_TOPMOST;
constexpr int kClientWidth = 258;
constexpr int kClientHeight = 170;

constexpr ControlKind kDropArea = {L"STATIC", WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_CENTER, 0};
constexpr ControlKind kCommandButton = {L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0};
// A "&" in a path is no mnemonic; a path too long for the label gives way in its middle and
// keeps its file name in sight, while the label's text stays the whole path.
constexpr ControlKind kTestFileLabel = {
    L"STATIC", WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, 0};
constexpr COLORREF kDropAreaBackground = RGB(252, 235, 182);

// Creation order, which is also the tab order.
constexpr ControlLayout kMainWindowControls[] = {
    {IDC_DROP_AREA, &kDropArea, L"\r\n\r\n\r\n\r\nDrop Files Here", 106, 8, 140, 122},
    {IDC_ADD_ROUTINES, &kCommandButton, L"&Add routines", 8, 8, 90, 24},
    {IDC_SEQUENCE_TESTS, &kCommandButton, L"&Sequence tests", 8, 41, 90, 24},
    {IDC_RUN_TESTS, &kCommandButton, L"&Run tests", 8, 73, 90, 25},
    {IDC_CONFIGURE, &kCommandButton, L"&Configure", 8, 106, 90, 24},
    {IDC_TEST_FILE, &kTestFileLabel, L"", 8, 138, 238, 24},
};

HICON LoadAppIcon(int width, int height) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, width, height, 0));
}

// Where the window finds its icons again when its scale changes.
constexpr wchar_t kIconsProperty[] = L"TestBuilder.Icons";

// Sets one icon of the window, freeing the one it replaces.
void ReplaceIcon(HWND window, WPARAM which, UniqueIcon& held, HICON icon) {
    SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    held.Reset(icon);
}

// The big icon, and the small one only beside it, at the system's icon sizes for `dpi` (32 and
// 16 at 96 DPI). A missing image leaves the icon as it was: unset when the window is built.
void SetMainWindowIcons(HWND window, MainWindowIcons& icons, int dpi) {
    HICON big = LoadAppIcon(SystemMetricForDpi(SM_CXICON, dpi), SystemMetricForDpi(SM_CYICON, dpi));
    if (!big) return;
    ReplaceIcon(window, ICON_BIG, icons.bigIcon, big);
    if (HICON smallIcon = LoadAppIcon(SystemMetricForDpi(SM_CXSMICON, dpi), SystemMetricForDpi(SM_CYSMICON, dpi)))
        ReplaceIcon(window, ICON_SMALL, icons.smallIcon, smallIcon);
}

// The outer bottom-right corner on the primary work area's. Without any work area the window
// stays where it was created, on screen, rather than with its bottom-right corner on the screen
// origin, which would put it above and left of the screen.
void PlaceMainWindow(HWND window) {
    RECT area = {};
    GetPrimaryWorkArea(area);
    if (WorkAreaOrSystemDefault(area)) PlaceAtBottomRight(window, area);
}

void AddMainWindowControls(HWND window, const SettingsRecord& record) {
    AddControls(window, kMainWindowControls);
    SetStaticColours(GetDlgItem(window, IDC_DROP_AREA), COLOR_WINDOWTEXT, kDropAreaBackground);
    SetControlText(window, IDC_TEST_FILE, record.active);
}

// Choosing a test file without dragging: Ctrl+O, and the same command in the system menu
// (Alt+Space), after a separator of its own.
void AddOpenTestFileCommand(HWND window) {
    ACCEL openKey = {FVIRTKEY | FCONTROL, 'O', IDM_OPEN_TEST_FILE};
    SetDialogAccelerators(window, CreateAcceleratorTableW(&openKey, 1));
    if (HMENU systemMenu = GetSystemMenu(window, FALSE)) {
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(systemMenu, MF_STRING, IDM_OPEN_TEST_FILE, L"&Open test file...\tCtrl+O");
    }
}

// User Interface Privilege Isolation keeps a drop from Explorer away from a tool that runs as
// administrator: WM_DROPFILES and the two messages that carry the drop (WM_COPYDATA, and
// 0x0049, WM_COPYGLOBALDATA) are let through to this window. Windows 7 and later; elsewhere
// there is no such barrier.
void LetDropsThrough(HWND window) {
    using ChangeFilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    auto changeFilter = User32Function<ChangeFilterFunction>("ChangeWindowMessageFilterEx");
    if (!changeFilter) return;
    constexpr UINT kCopyGlobalData = 0x0049;
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW
    for (UINT message : {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData})
        changeFilter(window, message, kAllow, nullptr);
}

// The chosen name goes where a dropped name goes; cancelling changes nothing.
void OpenTestFile(HWND window, SettingsRecord& record) {
    std::wstring name = ChooseTestFileName(window, record.active);
    if (name.empty()) return;
    WindowFeedback feedback(window);
    SelectTestFileByName(name, record, feedback);
}

void OnMainWindowCommand(HWND window, WPARAM wParam, SettingsRecord& record) {
    if (!IsButtonAction(wParam)) return;
    WindowFeedback feedback(window);
    switch (LOWORD(wParam)) {
    case IDC_ADD_ROUTINES: AddRoutinesCommand(record, feedback); break;
    case IDC_SEQUENCE_TESTS: SequenceTestsCommand(record, feedback); break;
    case IDC_RUN_TESTS: RunTestsCommand(record, feedback); break;
    case IDC_CONFIGURE: ShowConfigureDialog(window, record); break;
    case IDM_OPEN_TEST_FILE: OpenTestFile(window, record); break;
    }
}

void OnMainWindowDrop(HWND window, HDROP drop, SettingsRecord& record) {
    WindowFeedback feedback(window);
    HandleDrop(drop, record, feedback);
}

void HandleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM) {
    // Set at creation, before the window takes any message of the user's.
    SettingsRecord* record = FrameRecord(window);
    if (!record) return;
    switch (message) {
    case WM_DROPFILES:
        OnMainWindowDrop(window, reinterpret_cast<HDROP>(wParam), *record);
        break;
    case WM_COMMAND:
        OnMainWindowCommand(window, wParam, *record);
        break;
    case WM_SYSCOMMAND:
        // The system keeps the low four bits of a system menu command to itself.
        if ((wParam & 0xFFF0) == IDM_OPEN_TEST_FILE) OpenTestFile(window, *record);
        break;
    case WM_DPICHANGED:
        // On a display of another scale, icons of its sizes; the frame lays out the rest.
        if (auto* icons = static_cast<MainWindowIcons*>(GetPropW(window, kIconsProperty)))
            SetMainWindowIcons(window, *icons, LOWORD(wParam));
        break;
    case WM_NCDESTROY:
        RemovePropW(window, kIconsProperty);
        break;
    }
}

}  // namespace

HWND CreateMainWindow(HWND parent, MainWindowIcons& icons, SettingsRecord& record) {
    HWND window = CreateDialogFrame(parent, L"Test Builder", kMainWindowStyle, kMainWindowExStyle,
                                    kClientWidth, kClientHeight, HandleMainWindowMessage);
    if (!window) return nullptr;
    SetFrameRecord(window, record);
    SetClosingEndsTool(window);
    SetMainWindowIcons(window, icons, DialogDpi(window));
    SetPropW(window, kIconsProperty, &icons);
    PlaceMainWindow(window);
    AddMainWindowControls(window, record);
    AddOpenTestFileCommand(window);
    DragAcceptFiles(window, TRUE);
    LetDropsThrough(window);
    return window;
}

INT_PTR ShowMainWindow(HWND parent, SettingsRecord& record) {
    MainWindowIcons icons;
    HWND window = CreateMainWindow(parent, icons, record);
    if (window) RunModalDialog(window);
    return 0;
}
