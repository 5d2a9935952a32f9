#include "app/settings.h"

#include <windows.h>

#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/handles.h"

void LoadSettings() {
    std::string path = SettingsFilePath(ExecutablePath());
    if (!FileExists(path)) {
        ApplySettingsDefaults(Settings);
        return;
    }
    // A file that exists but cannot be opened reads as empty: no line, no defaults, and the
    // derived fields still follow what the record holds.
    TextFile file = OpenTextForReading(path);
    std::string line;
    while (!AtEndOfFile(file)) {
        ReadLine(file, line);
        ApplySettingsLine(Settings, line);
    }
    DeriveActiveFields(Settings);
    CloseFile(file);
}

// The new file is written beside the old one and then put in its place in one step, so a
// process killed or a disk that fills half-way leaves the previous settings whole. A settings
// file that cannot be replaced (held open by another program, read-only) stays as it was, and
// the temporary file goes.
void SaveSettings() {
    std::string target = SettingsFilePath(ExecutablePath());
    // A read-only settings file is the user's way of freezing the settings: leave it alone
    // (a rename may replace it where a write would not).
    DWORD attributes = GetFileAttributesW(ToWide(target).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return;

    // One name per process, so two running copies never write into each other's file.
    std::string temporary = target + "." + std::to_string(GetCurrentProcessId()) + ".tmp";

    bool written = false;
    {
        TextFile file = CreateTextFile(temporary);
        if (file.handle) {
            std::string text = FormatSettingsFile(Settings);
            WriteText(file, text);
            QuietErrorMode quiet;
            written = FlushFileBuffers(file.handle) != 0 && GetFileSize(file.handle, nullptr) == text.size();
        }
        CloseFile(file);
    }

    std::wstring from = ToWide(temporary);
    std::wstring to = ToWide(target);
    QuietErrorMode quiet;
    bool replaced = false;
    // Another program that merely glances at the file (a virus scanner, an editor checking for
    // changes) holds it for a moment: try again briefly before giving the save up.
    for (int attempt = 0; written && !replaced && attempt < 5; ++attempt) {
        if (attempt > 0) Sleep(20);
        replaced = MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        DWORD error = replaced ? 0 : GetLastError();
        if (!replaced && error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) break;
    }
    if (!replaced) DeleteFileW(from.c_str());
}
