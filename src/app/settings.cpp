#include "app/settings.h"

#include <windows.h>

#include <vector>

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

namespace {

// What the plain save keeps of the settings file's attributes; writing it marks it for archiving.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_TEMPORARY;

// Gives the new file the settings file's attributes and access rights, so that putting it in
// place changes nothing but the content. False when either cannot be carried over.
bool TakeOverProperties(const std::wstring& from, const std::wstring& to, DWORD attributes) {
    DWORD needed = 0;
    GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0) return false;
    std::vector<unsigned char> security(needed);
    if (!GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, security.data(), needed, &needed) ||
        !SetFileSecurityW(to.c_str(), DACL_SECURITY_INFORMATION, security.data()))
        return false;
    return SetFileAttributesW(to.c_str(), (attributes & kKeptAttributes) | FILE_ATTRIBUTE_ARCHIVE) != 0;
}

}  // namespace

// The new file is written beside the old one and then put in its place in one step, so a
// process killed or a disk that fills half-way leaves the previous settings whole. Where that
// step cannot be taken (no new file may be created in the folder, or none replaced), the settings
// file is written in place instead, as a plain rewrite would. A read-only or held settings file
// stays as it was.
void SaveSettings() {
    QuietErrorMode quiet;  // for every call of the save: a drive without a medium fails quietly
    std::string target = SettingsFilePath(ExecutablePath());
    std::wstring to = ToWide(target);
    // A read-only settings file is the user's way of freezing the settings: leave it alone
    // (a rename may replace it where a write would not). A folder of that name is no file.
    DWORD attributes = GetFileAttributesW(to.c_str());
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return;

    // One name for every save and every copy of the tool: a file left by a save that was cut
    // short is reused by the next one, so at most one stays behind, and two copies saving at the
    // same moment cannot both hold it (it is opened without sharing).
    std::string temporary = target + ".tmp";
    std::wstring from = ToWide(temporary);
    std::string text = FormatSettingsFile(Settings);

    bool created = false, written = false;
    {
        TextFile file = CreateTextFile(temporary);
        created = file.handle != nullptr;
        if (created) {
            WriteText(file, text);
            written = FlushFileBuffers(file.handle) != 0 && GetFileSize(file.handle, nullptr) == text.size();
        }
        CloseFile(file);
    }
    if (!created) {
        WriteWholeFile(target, text);  // the plain save, in place; a held file is not opened
        return;
    }
    // A disk that fills up would fail the plain rewrite half-way too: keep the old file whole.
    if (!written) {
        DeleteFileW(from.c_str());
        return;
    }

    bool replaced = false;
    if (!exists || TakeOverProperties(to, from, attributes)) {
        // Another program that merely glances at the file (a virus scanner, an editor checking
        // for changes) holds it for a moment: try again briefly before giving the step up.
        for (int attempt = 0; !replaced && attempt < 5; ++attempt) {
            if (attempt > 0) Sleep(20);
            replaced = MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
            DWORD error = replaced ? 0 : GetLastError();
            if (!replaced && error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) break;
        }
    }
    if (replaced) return;
    DeleteFileW(from.c_str());
    // Refused for another reason than a held file (which the plain rewrite cannot open either):
    // a folder where files may be written but not deleted or renamed, a file system without
    // renames over a file, rights that cannot be carried over.
    WriteWholeFile(target, text);
}
