#pragma once
#include <string>

#include "core/settings_record.h"

// Where the framework tool puts the generated test source for the record's current test file;
// "" when the current test file names no existing file.
std::string GeneratedTestSourcePath(const SettingsRecord& record);
