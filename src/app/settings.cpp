#include "app/settings.h"

#include "platform/files.h"

void LoadSettings() {
    std::string path = SettingsFilePath(ExecutablePath());
    if (!FileExists(path)) {
        ApplySettingsDefaults(Settings);
        return;
    }
    // A file that exists but cannot be opened reads as empty: no line, no defaults, and the
    // derived fields still follow what the record holds.
    TextFile file = OpenTextForReading(path);
    while (!AtEndOfFile(file)) ApplySettingsLine(Settings, ReadLine(file));
    DeriveActiveFields(Settings);
    CloseFile(file);
}

void SaveSettings() {
    TextFile file = CreateTextFile(SettingsFilePath(ExecutablePath()));
    WriteText(file, FormatSettingsFile(Settings));
    CloseFile(file);
}
