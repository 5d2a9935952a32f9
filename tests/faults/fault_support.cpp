#include "fault_support.h"

#include "platform/text_files.h"
#include "test_support.h"


std::string EveryField(const SettingsRecord& record) {
    return FormatSettingsFile(record) + "activeCompilerPath=" + record.activeCompilerPath +
           "\r\nactiveIncludeDir=" + record.activeIncludeDir + "\r\n";
}

std::vector<std::string> FilesBesideSettings() {
    std::string settings = OwnSettingsFile();
    std::string name = settings.substr(settings.rfind('\\') + 1);
    std::vector<std::string> beside;
    for (const std::string& found : NamesMatching(ExecutableFolder() + "*"))
        if (found != name && found.rfind(name, 0) == 0) beside.push_back(found);
    return beside;
}
