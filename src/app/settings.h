#pragma once
// Loading and saving the settings file beside the executable.
#include "app/settings_record.h"

void LoadSettings();
void SaveSettings();
