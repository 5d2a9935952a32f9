#pragma once
// Loading and saving the settings file beside the executable.
#include "core/settings_record.h"

void LoadSettings();
void SaveSettings();

// Whether a save rewrites the settings file in place rather than replacing it with a new file:
// for a link to another file (a reparse point), a file with more than one name, and an
// encrypted or compressed file, whose nature a replacement would lose. Public for the tests.
bool SavesInPlace(unsigned long attributes, unsigned long links);
