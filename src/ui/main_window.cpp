#include "ui/main_window.h"

#include <shellapi.h>

#include "app/settings_record.h"
#include "platform/ansi.h"
#include "ui/configure_dialog.h"
#include "ui/control_ids.h"
#include "ui/dialog_frame.h"
#include "ui/placement.h"
#include "workflow/commands.h"
#include "workflow/drop.h"

namespace {

constexpr DWORD kMainWindowStyle = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU |
                                   WS_MINIMIZEBOX | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
constexpr DWORD kMainWindowExStyle = WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES | WS_EX_TOPMOST;
constexpr int kClientWidth = 258;
constexpr int kClientHeight = 170;

constexpr DWORD kCommandButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kSunkenStaticStyle = WS_CHILD | WS_VISIBLE | SS_SUNKEN;
constexpr COLORREF kDropAreaBackground = RGB(252, 235, 182);

// The big icon, and the small one only beside it. A missing image leaves the icon unset.
void SetMainWindowIcons(HWND window, MainWindowIcons& icons) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    icons.bigIcon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 32, 32, 0));
    if (!icons.bigIcon) return;
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.bigIcon));
    icons.smallIcon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, 0));
    if (icons.smallIcon) SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.smallIcon));
}

// The outer bottom-right corner on the primary work area's. Without any work area the window
// stays where it was created, on screen, rather than with its bottom-right corner on the screen
// origin, which would put it above and left of the screen.
void PlaceMainWindow(HWND window) {
    RECT area = {};
    GetPrimaryWorkArea(area);
    if (WorkAreaOrSystemDefault(area)) PlaceAtBottomRight(window, area);
}

void AddMainWindowControls(HWND window) {
    HWND dropArea = AddControl(window, IDC_DROP_AREA, L"STATIC", L"\r\n\r\n\r\n\r\nDrop Files Here",
                               106, 8, 140, 122, kSunkenStaticStyle | SS_CENTER);
    SetStaticColours(dropArea, COLOR_WINDOWTEXT, kDropAreaBackground);
    AddControl(window, IDC_ADD_ROUTINES, L"BUTTON", L"&Add routines", 8, 8, 90, 24, kCommandButtonStyle);
    AddControl(window, IDC_SEQUENCE_TESTS, L"BUTTON", L"&Sequence tests", 8, 41, 90, 24, kCommandButtonStyle);
    AddControl(window, IDC_RUN_TESTS, L"BUTTON", L"&Run tests", 8, 73, 90, 25, kCommandButtonStyle);
    AddControl(window, IDC_CONFIGURE, L"BUTTON", L"&Configure", 8, 106, 90, 24, kCommandButtonStyle);
    AddControl(window, IDC_TEST_FILE, L"STATIC", L"", 8, 138, 238, 24, kSunkenStaticStyle | SS_LEFT);
    SetControlText(window, IDC_TEST_FILE, Settings.active);
}

void OnMainWindowCommand(HWND window, WPARAM wParam) {
    if (!IsButtonAction(wParam)) return;
    switch (LOWORD(wParam)) {
    case IDC_ADD_ROUTINES: AddRoutinesCommand(window); break;
    case IDC_SEQUENCE_TESTS: SequenceTestsCommand(window); break;
    case IDC_RUN_TESTS: RunTestsCommand(window); break;
    case IDC_CONFIGURE: ShowConfigureDialog(window); break;
    }
}

}  // namespace

HWND CreateMainWindow(HWND parent, MainWindowIcons& icons) {
    HWND window = CreateDialogFrame(parent, L"Test Builder", kMainWindowStyle, kMainWindowExStyle,
                                    kClientWidth, kClientHeight, HandleMainWindowMessage);
    if (!window) return nullptr;
    SetMainWindowIcons(window, icons);
    PlaceMainWindow(window);
    AddMainWindowControls(window);
    DragAcceptFiles(window, TRUE);
    return window;
}

INT_PTR ShowMainWindow(HWND parent) {
    MainWindowIcons icons;
    HWND window = CreateMainWindow(parent, icons);
    if (window) RunModalDialog(window);
    return 0;
}

INT_PTR CALLBACK HandleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        break;
    case WM_NCACTIVATE:
        if (wParam == 0) SaveFocusOnDeactivate(window);
        else RestoreFocusOnActivate(window);
        break;
    case WM_DROPFILES:
        HandleDrop(window, reinterpret_cast<HDROP>(wParam));
        break;
    case WM_COMMAND:
        OnMainWindowCommand(window, wParam);
        break;
    }
    return 0;
}
