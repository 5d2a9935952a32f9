#include "workflow/settings_file.h"

#include "platform/ansi.h"
#include "platform/handles.h"
#include "platform/paths.h"
#include "platform/safe_replace.h"
#include "platform/text_files.h"
#include "core/report_texts.h"

namespace {

// A settings file that was there at start-up but could not be read. The record then holds none
// of its settings, and a save would write that empty record over every stored path: such a
// file is left as it is for the rest of the run.
bool settingsFileUnread = false;
// Whether the user has been told so in this run; once is enough.
bool unreadSaveTold = false;

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
    return attributes & kNotAFileAttributes ? SettingsFileState::Missing : SettingsFileState::Present;
}

// Asked of the path as the system gave it: a "\\?\" form, which a search would take for a
// wildcard, still names the file.
SettingsFileState SettingsFileStateOf(const std::wstring& path) {
    QuietErrorMode quiet;
    DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    return SettingsFileStateFor(attributes, attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0);
}

void LoadSettings(SettingsRecord& record, SettingsFileState (*look)(const std::wstring& path)) {
    settingsFileUnread = unreadSaveTold = false;
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

// What a save leaves alone is the settings' own rule; how the file is replaced is
// ReplaceFileSafely's. A read-only or held settings file stays as it was, and so does one that
// could not be read at start-up.
void SaveSettings(const SettingsRecord& record, FeedbackSink* feedback) {
    if (settingsFileUnread) {
        if (feedback && !unreadSaveTold) {
            feedback->Report(UnreadSettingsReport(SettingsFile()));
            unreadSaveTold = true;
        }
        return;
    }
    QuietErrorMode quiet;  // for every call of the save: a drive without a medium fails quietly
    std::wstring to = SettingsFile();
    // A read-only settings file is the user's way of freezing the settings: leave it alone
    // (a rename may replace it where a write would not). A folder of that name is no file.
    DWORD attributes = GetFileAttributesW(SystemPath(to).c_str());
    // One the system could not look at (a folder whose listing is refused, a share that dropped
    // for a moment) may hold every stored path: it is left as it is.
    if (SettingsFileStateFor(attributes, attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0) ==
        SettingsFileState::Unreadable)
        return;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return;
    ReplaceFileSafely(to, FormatSettingsFile(record), attributes);
}
