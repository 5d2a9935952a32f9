#include "ui/file_dialogs.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "core/text.h"
#include "core/command_lines.h"
#include "platform/ansi.h"
#include "platform/paths.h"
#include "platform/handles.h"
#include "platform/system_functions.h"
#include "ui/placement.h"
#include "ui/feedback.h"

namespace {

// Room for the longest path the system can give; the dialogs never have to cut one.
constexpr DWORD kPathCapacity = 32768;

// Moves a system dialog, size and z-order unchanged, onto the Configure dialog's top-left
// corner, or as near it as keeps the whole dialog on its monitor's work area (with the tool in
// its corner of the screen, the corner is too near the right edge for the dialog), and brings
// it to the foreground. DM_REPOSITION would do the second part on Windows but not everywhere.
void MoveOntoDialog(HWND window, HWND dialog) {
    RECT corner;
    if (GetWindowRect(dialog, &corner)) PlaceTopLeftOnScreen(window, {corner.left, corner.top});
    SetForegroundWindow(window);
}

bool HasFileSystemPath(PCIDLIST_ABSOLUTE item) {
    std::vector<wchar_t> path(kPathCapacity, L'\0');
    return SHGetPathFromIDListEx(item, path.data(), kPathCapacity, GPFIDL_DEFAULT) && path[0] != L'\0';
}

// What the folder browser's events need to know.
struct FolderBrowse {
    HWND dialog;
    std::wstring storedFolder;
};

int CALLBACK OnFolderBrowserEvent(HWND browser, UINT event, LPARAM lParam, LPARAM data) {
    const auto& browse = *reinterpret_cast<const FolderBrowse*>(data);
    switch (event) {
    case BFFM_INITIALIZED:
        MoveOntoDialog(browser, browse.dialog);
        if (!browse.storedFolder.empty())
            SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(browse.storedFolder.c_str()));
        break;
    case BFFM_SELCHANGED: {
        // Only a folder with a file-system path can be the output folder: "This PC", a library
        // or the network would be chosen and then silently come to nothing.
        bool usable = lParam != 0 && HasFileSystemPath(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam));
        SendMessageW(browser, BFFM_ENABLEOK, 0, usable);
        // Some browsers check the new selection themselves after telling the callback (Wine's
        // enables OK for every item): the same answer, posted, comes after that check.
        PostMessageW(browser, BFFM_ENABLEOK, 0, usable);
        if (!usable) DefaultBeep();
        break;
    }
    }
    return 0;
}

UINT_PTR CALLBACK OnOpenDialogEvent(HWND hookDialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* request = reinterpret_cast<const OPENFILENAMEW*>(lParam);
        // With OFN_EXPLORER the hook is a child of the open dialog itself.
        MoveOntoDialog(GetParent(hookDialog), reinterpret_cast<HWND>(request->lCustData));
    }
    return 0;
}

}  // namespace

// Imported, comdlg32.dll and the printing libraries it brings would be loaded at every start;
// it is loaded from the system folder the first time an open-file dialog is needed.
bool ShowOpenFileDialog(OPENFILENAMEW& request) {
    using Function = BOOL(WINAPI*)(OPENFILENAMEW*);
    static auto getOpenFileName = SystemLibraryFunction<Function>(L"comdlg32.dll", "GetOpenFileNameW");
    return getOpenFileName && getOpenFileName(&request);
}

std::wstring ChooseTestFileName(HWND window, const std::string& currentTestFile) {
    static constexpr wchar_t kFilter[] =
        L"BASIC sources and test files\0*.bas;*.inc;*.bi;*.test\0All files\0*.*\0";
    std::vector<wchar_t> file(kPathCapacity, L'\0');
    std::wstring folder = ToWide(SplitPath(currentTestFile).directory);

    OPENFILENAMEW request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = window;
    request.lpstrFilter = kFilter;
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = kPathCapacity;
    request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!ShowOpenFileDialog(request)) return {};
    return file.data();
}

std::wstring ChooseOutputFolder(HWND dialog, const std::string& storedFolder) {
    FolderBrowse browse{dialog, ToWide(storedFolder)};
    BROWSEINFOW info = {};
    info.hwndOwner = dialog;
    info.pidlRoot = nullptr;
    wchar_t displayName[MAX_PATH] = {};
    info.pszDisplayName = displayName;
    info.lpszTitle = L"Specific output";
    info.ulFlags = BIF_NEWDIALOGSTYLE;
    info.lpfn = OnFolderBrowserEvent;
    info.lParam = reinterpret_cast<LPARAM>(&browse);
    UniqueItemIdList chosen(SHBrowseForFolderW(&info));
    if (!chosen) return L"";
    std::vector<wchar_t> path(kPathCapacity, L'\0');
    bool found = SHGetPathFromIDListEx(chosen.Get(), path.data(), kPathCapacity, GPFIDL_DEFAULT);
    return found ? path.data() : L"";
}

std::wstring ChooseProgram(HWND dialog, std::string_view storedPath, const ProgramChoice& choice) {
    std::string_view stored = UnquotedProgram(storedPath);
    std::string folder(stored);
    std::string fileName;
    if (size_t slash = LastPosition(stored, "\\")) {
        fileName = MiddlePart(stored, slash + 1);
        folder = LeftPart(stored, choice.folderKeepsBackslash ? slash : slash - 1);
    }
    if (folder.empty()) folder = GetCurrentDir();

    std::wstring filter = choice.filterDescription;
    filter += L'\0';
    filter += choice.filterPattern;
    filter += L'\0';  // the list ends with a second NUL: the one c_str() adds

    std::vector<wchar_t> file(kPathCapacity, L'\0');
    std::wstring initialName = ToWide(fileName);
    std::copy_n(initialName.begin(), std::min<size_t>(initialName.size(), kPathCapacity - 1), file.begin());
    std::wstring initialFolder = ToWide(folder);

    OPENFILENAMEW request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog;
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = kPathCapacity;
    request.lpstrInitialDir = initialFolder.c_str();
    request.lpstrTitle = choice.title;
    request.lpstrDefExt = L"exe";  // the system wants it without the "."
    request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLEHOOK;
    request.lpfnHook = OnOpenDialogEvent;
    request.lCustData = reinterpret_cast<LPARAM>(dialog);
    if (!ShowOpenFileDialog(request)) return L"";
    return file.data();
}
