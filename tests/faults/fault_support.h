#pragma once
// What the fault tests share.
#include <string>
#include <vector>

#include "core/settings_record.h"

// Every field of the record, the derived ones included, as one text to compare.
std::string EveryField(const SettingsRecord& record);

// What a save may leave beside the settings file (its temporary files are named after it).
std::vector<std::string> FilesBesideSettings();
