#pragma once
// The settings record (the tool has one, made at start-up and handed to what uses it) and the
// rules of the settings file, kept free of the operating system so that the same rules build
// natively for fuzzing.
#include <string>
#include <string_view>

struct SettingsRecord {
    // Persisted, named after their keys in the settings file.
    std::string active;     // the current test file
    std::string directory;  // "relative" or "specific"
    std::string output;     // folder for generated test sources in the "specific" mode
    std::string compiler;   // "pbwin" or "pbcc"
    std::string pbwin;
    std::string pbcc;
    std::string quarex;
    std::string include;    // "1" to "4"
    std::string incl1;
    std::string incl2;
    std::string incl3;
    std::string incl4;
    // Derived, never persisted.
    std::string activeCompilerPath;
    std::string activeIncludeDir;
};

// The settings file beside the executable: everything from the last "." of the whole path
// replaced by ".ini", or ".ini" appended when the path has no ".".
std::string SettingsFilePath(std::string_view executablePath);
// The same rule for the path as the system gives it, every character kept.
std::wstring SettingsFilePath(std::wstring_view executablePath);

// What loading does when there is no settings file at all.
void ApplySettingsDefaults(SettingsRecord& record);

// Handles one line of a settings file as loading reads it.
void ApplySettingsLine(SettingsRecord& record, std::string_view line);

// activeCompilerPath and activeIncludeDir from compiler and include; an include value outside
// 1 to 4 keeps the previous activeIncludeDir.
void DeriveActiveFields(SettingsRecord& record);


// The twelve "key=value" lines of the settings file, each ending in CR LF.
std::string FormatSettingsFile(const SettingsRecord& record);
