// Prints what the tool would see of its own location: the executable path, its length, and the
// `active` value loaded from the settings file beside it. Used from a deep folder.
#include <cstdio>

#include "app/settings.h"
#include "platform/files.h"

int main() {
    std::string path = ExecutablePath();
    LoadSettings();
    std::printf("length=%u\nactive=%s\n", static_cast<unsigned>(path.size()), Settings.active.c_str());
    return 0;
}
