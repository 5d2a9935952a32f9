#include "ui/configure_dialog.h"

#include <optional>
#include <string>

#include "workflow/settings_file.h"
#include "platform/ansi.h"
#include "platform/paths.h"
#include "platform/text_files.h"
#include "core/text.h"
#include "ui/control_ids.h"
#include "ui/dialog_frame.h"
#include "ui/file_dialogs.h"
#include "ui/modal_loop.h"
#include "ui/placement.h"
#include "ui/feedback.h"
#include "core/command_lines.h"
#include "core/report_texts.h"

namespace {

constexpr DWORD kConfigureStyle = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | DS_MODALFRAME |
                                  DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
constexpr DWORD kConfigureExStyle = WS_EX_CONTROLPARENT | WS_EX_TOPMOST;
constexpr int kClientWidth = 352;
constexpr int kClientHeight = 416;

// The kinds of control the dialog is made of.
constexpr ControlKind kGroupBox = {L"BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, WS_EX_CONTROLPARENT};
constexpr ControlKind kFirstRadio = {
    L"BUTTON", WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
constexpr ControlKind kRadio = {L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
constexpr ControlKind kEdit = {
    L"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
constexpr ControlKind kBrowseButton = {L"BUTTON", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0};
constexpr ControlKind kPushButton = {L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0};
constexpr ControlKind kLabel = {L"STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT, 0};
// A label that is never shown: it gives the edit created right after it its name for screen
// readers, which take an edit's name from the label before it. No part of the layout, no tab
// stop.
constexpr ControlKind kHiddenLabel = {L"STATIC", WS_CHILD | SS_LEFT | SS_NOPREFIX, 0};
constexpr int kNoId = -1;

// Creation order, which is also the tab order. Each first radio starts a group that runs to
// the next one. Every path edit without a label of its own has a hidden one just before it.
constexpr ControlLayout kConfigureControls[] = {
    {IDC_TESTDIR_GROUP, &kGroupBox, L"Test directory", 8, 8, 337, 73},
    {IDC_RELATIVE, &kFirstRadio, L"Relative", 15, 21, 127, 26},
    {IDC_SPECIFIC, &kRadio, L"Specific", 15, 49, 60, 24},
    {kNoId, &kHiddenLabel, L"Specific output folder", 75, 49, 233, 24},
    {IDC_OUTPUT_PATH, &kEdit, L"", 75, 49, 233, 24},
    {IDC_OUTPUT_BROWSE, &kBrowseButton, L"...", 315, 49, 23, 24},
    {IDC_COMPILER_GROUP, &kGroupBox, L"Compiler", 8, 98, 337, 89},
    {IDC_PBWIN, &kFirstRadio, L"PbWin", 15, 110, 53, 26},
    {kNoId, &kHiddenLabel, L"PbWin compiler", 82, 114, 226, 24},
    {IDC_PBWIN_PATH, &kEdit, L"", 82, 114, 226, 24},
    {IDC_PBWIN_BROWSE, &kBrowseButton, L"...", 315, 114, 23, 24},
    {IDC_PBCC, &kRadio, L"PbCC", 15, 146, 67, 25},
    {kNoId, &kHiddenLabel, L"PbCC compiler", 82, 146, 226, 25},
    {IDC_PBCC_PATH, &kEdit, L"", 82, 146, 226, 25},
    {IDC_PBCC_BROWSE, &kBrowseButton, L"...", 315, 146, 23, 25},
    {IDC_QUAREX_LABEL, &kLabel, L"Quarex", 15, 203, 60, 16},
    {IDC_QUAREX_PATH, &kEdit, L"", 82, 195, 226, 24},
    {IDC_QUAREX_BROWSE, &kBrowseButton, L"...", 315, 195, 23, 24},
    {IDC_INCLUDE_GROUP, &kGroupBox, L"Include directories", 8, 228, 337, 146},
    {IDC_INCLUDE_1, &kFirstRadio, L"1", 15, 240, 53, 26},
    {kNoId, &kHiddenLabel, L"Include directory 1", 82, 244, 256, 24},
    {IDC_INCL1_PATH, &kEdit, L"", 82, 244, 256, 24},
    {IDC_INCLUDE_2, &kRadio, L"2", 15, 276, 67, 25},
    {kNoId, &kHiddenLabel, L"Include directory 2", 82, 276, 256, 25},
    {IDC_INCL2_PATH, &kEdit, L"", 82, 276, 256, 25},
    {kNoId, &kHiddenLabel, L"Include directory 3", 82, 310, 256, 24},
    {IDC_INCL3_PATH, &kEdit, L"", 82, 310, 256, 24},
    {IDC_INCLUDE_3, &kRadio, L"3", 15, 310, 67, 24},
    {kNoId, &kHiddenLabel, L"Include directory 4", 82, 341, 256, 25},
    {IDC_INCL4_PATH, &kEdit, L"", 82, 341, 256, 25},
    {IDC_INCLUDE_4, &kRadio, L"4", 15, 341, 67, 25},
    {IDC_DONE, &kPushButton, L"&Done", 8, 382, 82, 24},
};

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// A path the user chose that the settings file cannot keep (a character the ANSI code page
// lacks, or a "=") and that has no short form it can: said, with the reason, and not stored.
void ReportUnusablePath(const std::wstring& path) { ShowMessage(UnusablePathReport(path)); }

// The chosen path as the settings keep it; nothing, after saying why, where they cannot.
std::optional<std::string> KeepablePath(const std::wstring& chosen) {
    std::optional<std::string> path = HoldablePath(chosen);
    if (!path) ReportUnusablePath(chosen);
    return path;
}

void BrowseForOutputFolder(HWND dialog, SettingsRecord& record) {
    std::wstring chosen = ChooseOutputFolder(dialog, record.output);
    if (chosen.empty()) return;
    std::optional<std::string> kept = KeepablePath(chosen);
    if (!kept) return;
    std::string folder = *kept;
    if (!EndsWith(folder, "\\")) folder += '\\';
    record.output = folder;
    SaveSettings(record);
    SetControlText(dialog, IDC_OUTPUT_PATH, record.output);
}

// One "..." button beside a program's path.
struct ProgramBrowse {
    std::string SettingsRecord::*setting;
    ProgramChoice choice;
    bool savesAtOnce;
    int edit;
};
constexpr ProgramBrowse kPbwinBrowse = {
    &SettingsRecord::pbwin, {L"PBWin Compiler", L"PBWin", L"Pbwin.exe", true}, true, IDC_PBWIN_PATH};
constexpr ProgramBrowse kPbccBrowse = {
    &SettingsRecord::pbcc, {L"PBCC Compiler", L"PBCC", L"pbcc.exe", true}, false, IDC_PBCC_PATH};
constexpr ProgramBrowse kQuarexBrowse = {
    &SettingsRecord::quarex, {L"Quarex", L"Quarex", L"quarex.exe", false}, false, IDC_QUAREX_PATH};

void BrowseForProgram(HWND dialog, const ProgramBrowse& browse, SettingsRecord& record) {
    std::wstring chosen = ChooseProgram(dialog, record.*browse.setting, browse.choice);
    if (chosen.empty()) return;
    std::optional<std::string> kept = KeepablePath(chosen);
    if (!kept) return;
    record.*browse.setting = *kept;
    if (browse.savesAtOnce) SaveSettings(record);
    SetControlText(dialog, browse.edit, *kept);
}

// One line per program path that is set but names no existing file, joined by CR LF.
std::string InvalidProgramsReport(const SettingsRecord& record) {
    std::string report;
    for (const std::string* path : {&record.pbwin, &record.pbcc, &record.quarex}) {
        // A path stored in its own quotes names the file inside them.
        if (path->empty() || FileExists(UnquotedProgram(*path))) continue;
        if (!report.empty()) report += "\r\n";
        report += "{" + *path + "} is not a valid program";
    }
    return report;
}

// The program paths are stored before they are tested and stay stored when the test fails;
// the dialog then stays open for the user to correct them.
void OnDone(HWND dialog, SettingsRecord& record) {
    record.pbwin = ControlText(dialog, IDC_PBWIN_PATH);
    record.pbcc = ControlText(dialog, IDC_PBCC_PATH);
    record.quarex = ControlText(dialog, IDC_QUAREX_PATH);
    std::string report = InvalidProgramsReport(record);
    if (!report.empty()) {
        ShowMessage(report);
        return;
    }
    ControlsToSettings(dialog, record);
    EndDialogFrame(dialog);
}

void OnConfigureCommand(HWND dialog, WPARAM wParam, SettingsRecord& record) {
    if (!IsButtonAction(wParam)) return;
    switch (LOWORD(wParam)) {
    case IDC_OUTPUT_BROWSE: BrowseForOutputFolder(dialog, record); break;
    case IDC_PBWIN_BROWSE: BrowseForProgram(dialog, kPbwinBrowse, record); break;
    case IDC_PBCC_BROWSE: BrowseForProgram(dialog, kPbccBrowse, record); break;
    case IDC_QUAREX_BROWSE: BrowseForProgram(dialog, kQuarexBrowse, record); break;
    case IDC_DONE: OnDone(dialog, record); break;
    }
}

void HandleConfigureMessage(HWND window, UINT message, WPARAM wParam, LPARAM) {
    SettingsRecord* record = FrameRecord(window);
    if (message == WM_COMMAND && record) OnConfigureCommand(window, wParam, *record);
}

}  // namespace

HWND CreateConfigureDialog(HWND mainWindow, SettingsRecord& record) {
    RECT main = {};
    GetWindowRect(mainWindow, &main);
    HWND dialog = CreateDialogFrame(nullptr, L"Configure", kConfigureStyle, kConfigureExStyle,
                                    kClientWidth, kClientHeight, HandleConfigureMessage);
    if (!dialog) return nullptr;
    SetFrameRecord(dialog, record);

    // Outer bottom-right corner on the main window's, but never above or left of the origin.
    PlaceBottomRightAt(dialog, {main.right, main.bottom}, true);

    AddControls(dialog, kConfigureControls);
    SettingsToControls(dialog, record);
    return dialog;
}

INT_PTR ShowConfigureDialog(HWND mainWindow, SettingsRecord& record) {
    HWND dialog = CreateConfigureDialog(mainWindow, record);
    if (!dialog) return 0;
    SetForegroundWindow(dialog);
    SetFocus(GetDlgItem(dialog, IDC_RELATIVE));
    RunModalDialog(dialog);
    SaveSettings(record);
    return 0;
}

void SettingsToControls(HWND window, const SettingsRecord& record) {
    CheckRadioButton(window, IDC_RELATIVE, IDC_SPECIFIC,
                     record.directory == "relative" ? IDC_RELATIVE : IDC_SPECIFIC);
    SetControlText(window, IDC_OUTPUT_PATH, record.output);
    CheckRadioButton(window, IDC_PBWIN, IDC_PBCC, record.compiler == "pbwin" ? IDC_PBWIN : IDC_PBCC);
    SetControlText(window, IDC_PBWIN_PATH, record.pbwin);
    SetControlText(window, IDC_PBCC_PATH, record.pbcc);
    SetControlText(window, IDC_QUAREX_PATH, record.quarex);
    double include = NumericValue(record.include);
    int includeRadio = include == 2 ? IDC_INCLUDE_2
                     : include == 3 ? IDC_INCLUDE_3
                     : include == 4 ? IDC_INCLUDE_4
                                    : IDC_INCLUDE_1;
    CheckRadioButton(window, IDC_INCLUDE_1, IDC_INCLUDE_4, includeRadio);
    SetControlText(window, IDC_INCL1_PATH, record.incl1);
    SetControlText(window, IDC_INCL2_PATH, record.incl2);
    SetControlText(window, IDC_INCL3_PATH, record.incl3);
    SetControlText(window, IDC_INCL4_PATH, record.incl4);
}

void ControlsToSettings(HWND window, SettingsRecord& record) {
    if (IsChecked(window, IDC_RELATIVE)) record.directory = "relative";
    if (IsChecked(window, IDC_SPECIFIC)) record.directory = "specific";
    record.output = ControlText(window, IDC_OUTPUT_PATH);
    if (IsChecked(window, IDC_PBWIN)) record.compiler = "pbwin";
    if (IsChecked(window, IDC_PBCC)) record.compiler = "pbcc";
    record.pbwin = ControlText(window, IDC_PBWIN_PATH);
    record.pbcc = ControlText(window, IDC_PBCC_PATH);
    record.quarex = ControlText(window, IDC_QUAREX_PATH);
    record.include = "1";
    if (IsChecked(window, IDC_INCLUDE_2)) record.include = "2";
    if (IsChecked(window, IDC_INCLUDE_3)) record.include = "3";
    if (IsChecked(window, IDC_INCLUDE_4)) record.include = "4";
    record.incl1 = ControlText(window, IDC_INCL1_PATH);
    record.incl2 = ControlText(window, IDC_INCL2_PATH);
    record.incl3 = ControlText(window, IDC_INCL3_PATH);
    record.incl4 = ControlText(window, IDC_INCL4_PATH);
    DeriveActiveFields(record);
}
