#include "workflow/settings_file.h"

#include <vector>

#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/handles.h"

namespace {

// A settings file that was there at start-up but could not be read. The record then holds none
// of its settings, and a save would write that empty record over every stored path: such a
// file is left as it is for the rest of the run.
bool settingsFileUnread = false;

// Another program may hold the file for a moment at start-up (a second copy of the tool saving,
// a sync client, a virus scanner): the load tries again for about half a second.
constexpr int kLoadAttempts = 10;
constexpr DWORD kLoadRetryMs = 50;

// The settings file's path stays in UTF-16 from the system's answer to the open, so a program
// folder the ANSI code page cannot spell still has its settings.
std::wstring SettingsFile() { return SettingsFilePath(ExecutablePathWide()); }

}  // namespace

SettingsFileState SettingsFileStateFor(unsigned long attributes, unsigned long error) {
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? SettingsFileState::Missing
                                                                               : SettingsFileState::Unreadable;
    // A folder of that name is no settings file.
    return attributes & (FILE_ATTRIBUTE_DIRECTORY | 0x08) ? SettingsFileState::Missing : SettingsFileState::Present;
}

// Asked of the path as the system gave it: a "\\?\" form, which a search would take for a
// wildcard, still names the file.
SettingsFileState SettingsFileStateOf(const std::wstring& path) {
    QuietErrorMode quiet;
    DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    return SettingsFileStateFor(attributes, attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0);
}

void LoadSettings(SettingsRecord& record, SettingsFileState (*look)(const std::wstring& path)) {
    settingsFileUnread = false;
    std::wstring path = SettingsFile();
    SettingsFileState state = look(path);
    if (state == SettingsFileState::Missing) {
        ApplySettingsDefaults(record);
        return;
    }
    // A file the system could not even look at is not opened: it counts as one that could not
    // be read.
    TextFile file;
    if (state == SettingsFileState::Present) file = OpenTextForReading(path);
    for (int attempt = 1; !file.handle.Valid() && state == SettingsFileState::Present && attempt < kLoadAttempts; ++attempt) {
        Sleep(kLoadRetryMs);
        file = OpenTextForReading(path);
    }
    // A file that exists but cannot be opened reads as empty: no line, no defaults, and the
    // derived fields still follow what the record holds.
    settingsFileUnread = !file.handle.Valid();
    std::string line;
    while (!AtEndOfFile(file)) {
        ReadLine(file, line);
        ApplySettingsLine(record, line);
    }
    DeriveActiveFields(record);
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

bool SavesInPlace(unsigned long attributes, unsigned long links) {
    constexpr DWORD kNotPlain = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ENCRYPTED | FILE_ATTRIBUTE_COMPRESSED;
    return (attributes & kNotPlain) != 0 || links > 1;
}

namespace {

// The number of names the file has; 1 where that cannot be read. Opened for its attributes only,
// which shares with every other opener and so disturbs no program that has the file open.
DWORD LinkCount(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!file.Valid() || !GetFileInformationByHandle(file.Get(), &information)) return 1;
    return information.nNumberOfLinks;
}

}  // namespace

// The new file is written beside the old one and then put in its place in one step, so a
// process killed or a disk that fills half-way leaves the previous settings whole. Where that
// step cannot be taken (no new file may be created in the folder, or none replaced), or would
// change what the settings file is (a link to a file elsewhere, a file with a second name, an
// encrypted or compressed file), the settings file is written in place instead, as a plain
// rewrite would. A read-only or held settings file stays as it was, and so does one that could
// not be read at start-up.
void SaveSettings(const SettingsRecord& record) {
    if (settingsFileUnread) return;
    QuietErrorMode quiet;  // for every call of the save: a drive without a medium fails quietly
    std::wstring to = SettingsFile(), systemTo = SystemPath(to);
    // A read-only settings file is the user's way of freezing the settings: leave it alone
    // (a rename may replace it where a write would not). A folder of that name is no file.
    DWORD attributes = GetFileAttributesW(systemTo.c_str());
    // One the system could not look at (a folder whose listing is refused, a share that dropped
    // for a moment) may hold every stored path: it is left as it is.
    if (SettingsFileStateFor(attributes, attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0) ==
        SettingsFileState::Unreadable)
        return;
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return;

    std::string text = FormatSettingsFile(record);
    // A rename would replace the link or this one name with a plain local file, and the real
    // file or its other names would keep the old settings.
    if (exists && SavesInPlace(attributes, LinkCount(systemTo))) {
        WriteWholeFile(to, text);
        return;
    }

    // One name for every save and every copy of the tool: a file left by a save that was cut
    // short is reused by the next one, so at most one stays behind, and two copies saving at the
    // same moment cannot both hold it (it is opened without sharing).
    std::wstring from = to + L".tmp";
    std::wstring systemFrom = SystemPath(from);
    bool created = false, complete = false, flushed = false;
    {
        TextFile file = CreateTextFile(from);
        created = file.handle.Valid();
        if (created) {
            WriteText(file, text);
            complete = GetFileSize(file.handle.Get(), nullptr) == text.size();
            flushed = complete && FlushFileBuffers(file.handle.Get()) != 0;
        }
    }
    if (!created) {
        WriteWholeFile(to, text);  // the plain save, in place; a held file is not opened
        return;
    }
    // A disk that fills up would fail the plain rewrite half-way too: keep the old file whole.
    if (!complete) {
        DeleteFileW(systemFrom.c_str());
        return;
    }

    bool replaced = false;
    // Some network redirectors refuse the flush while writes work: the plain save works there.
    if (flushed && (!exists || TakeOverProperties(systemTo, systemFrom, attributes))) {
        // Another program that merely glances at the file (a virus scanner, an editor checking
        // for changes) holds it for a moment: try again briefly before giving the step up.
        for (int attempt = 0; !replaced && attempt < 5; ++attempt) {
            if (attempt > 0) Sleep(20);
            replaced = MoveFileExW(systemFrom.c_str(), systemTo.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
            DWORD error = replaced ? 0 : GetLastError();
            if (!replaced && error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) break;
        }
    }
    if (replaced) return;
    DeleteFileW(systemFrom.c_str());
    // Refused for another reason than a held file (which the plain rewrite cannot open either):
    // a folder where files may be written but not deleted or renamed, a file system without
    // renames over a file, rights that cannot be carried over, a refused flush.
    WriteWholeFile(to, text);
}
