// Prints what the tool would see of its own location: the executable path, its length, and the
// `active` value loaded from the settings file beside it. Used from a deep folder. Given a value,
// it first saves that value as `active` and then loads the file afresh.
#include <cstdio>

#include "workflow/settings_file.h"
#include "platform/ansi.h"
#include "platform/paths.h"

int main(int argc, char** argv) {
    std::string path = ToAnsi(ExecutablePathWide());
    if (argc > 1) {
        SettingsRecord saved;
        LoadSettings(saved);
        saved.active = argv[1];
        SaveSettings(saved);
    }
    SettingsRecord loaded;
    LoadSettings(loaded);
    std::printf("length=%u\nactive=%s\n", static_cast<unsigned>(path.size()), loaded.active.c_str());
    return 0;
}
