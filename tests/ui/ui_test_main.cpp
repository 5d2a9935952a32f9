// The window tests run as the tool does: with the current directory out of the DLL search (the
// open-file dialog, the folder browser and drops are shown to work so), in a single-threaded COM
// apartment (the folder browser needs it) with the common controls initialised.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "platform/dll_search.h"

int main(int argc, char** argv) {
    HardenDllSearch();
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES;
    InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
