// Process start and end: one thread whose whole life is the time the main window is open.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "workflow/settings_file.h"
#include "ui/main_window.h"

namespace {

// COM for the length of the tool's life: the folder chooser of the Configure dialog needs a
// single-threaded apartment. Uninitialised only where the initialisation succeeded.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

bool RunsOnWindowsNT() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// Everything the tool does happens inside ShowMainWindow, on the one settings record made here;
// the settings are not saved here, only at the moments that change them. Command-line
// arguments are ignored.
int RunTestBuilder() {
    if (!RunsOnWindowsNT()) {
        MessageBoxW(nullptr, L"Win98 No Support", nullptr, MB_TASKMODAL | MB_SETFOREGROUND);
        ExitProcess(255);
    }
    ComApartment com;
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES;
    InitCommonControlsEx(&controls);
    SettingsRecord settings;
    LoadSettings(settings);
    ShowMainWindow(nullptr, settings);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int exitCode = RunTestBuilder();
    ExitProcess(static_cast<UINT>(exitCode));
}
