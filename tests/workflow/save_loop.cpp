// Saves the settings over and over, alternating two large records, until it is killed.
#include "workflow/settings_file.h"

int main() {
    SettingsRecord first, second;
    for (SettingsRecord* record : {&first, &second}) {
        char fill = record == &first ? 'a' : 'b';
        record->active = std::string(100000, fill);
        record->directory = "specific";
        record->output = std::string(100000, fill);
        record->compiler = "pbcc";
        record->include = "2";
    }
    for (unsigned round = 0;; ++round) SaveSettings(round % 2 ? second : first);
}
