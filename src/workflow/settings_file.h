#pragma once
// Loading and saving the settings file beside the executable.
#include "core/settings_record.h"

#include <string>

// What the system's answer about the settings file means: only "file not found" and "path not
// found" mean there is none (a folder of that name is none either); any other failure (the
// folder's listing refused, a network error) leaves a file that may hold every stored path, to
// be treated as one that could not be read.
enum class SettingsFileState { Missing, Present, Unreadable };
SettingsFileState SettingsFileStateFor(unsigned long attributes, unsigned long error);
// The same for a path, asked of the system (GetFileAttributesW).
SettingsFileState SettingsFileStateOf(const std::wstring& path);

// Reads the settings file beside the executable into `record`; defaults where there is none.
// `look` gives the system's answer about the file; tests stand in for it where Wine cannot fail
// the real one.
void LoadSettings(SettingsRecord& record, SettingsFileState (*look)(const std::wstring& path) = SettingsFileStateOf);
// Writes `record` to the settings file, unless the one there could not be read at the load.
void SaveSettings(const SettingsRecord& record);

