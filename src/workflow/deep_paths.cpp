#include "workflow/deep_paths.h"

#include "core/long_path.h"
#include "core/system_limits.h"
#include "core/tool_contract.h"
#include "platform/path_forms.h"

SettingsRecord WithCommandLinePaths(const SettingsRecord& record) {
    SettingsRecord forms = record;
    // A program path in its own quotes is quoted again as it stood when it is short enough.
    for (std::string* program : {&forms.quarex, &forms.activeCompilerPath})
        *program = CommandLinePath(UnquotedProgram(*program));
    for (std::string* path : {&forms.active, &forms.activeIncludeDir}) *path = CommandLinePath(*path);
    return forms;
}

CompilePlace CompilePlaceFor(const PathParts& generated, std::string_view logName) {
    CompilePlace place;
    // No folder part: the compiler runs in the current folder, where its log is too.
    if (generated.directory.empty()) {
        place.folder = std::string();
        place.source = generated.name;
        place.log = logName;
        return place;
    }
    place.fullFolder = FullPath(generated.directory);
    if (!logName.empty()) place.log = place.fullFolder + std::string(logName);
    std::string fullSource = place.fullFolder + generated.name;
    std::optional<std::string> shortFolder;
    if (fullSource.size() >= kPlainPathLimit) shortFolder = ShortForm(place.fullFolder);
    if (shortFolder && !shortFolder->ends_with('\\')) *shortFolder += '\\';
    std::optional<std::string> fits =
        PathWithinPlainLimit(fullSource, shortFolder ? std::optional(*shortFolder + generated.name) : std::nullopt);
    if (!fits) return place;
    // The plain case as it always was: the folder and the source as the test file gave them.
    bool whole = *fits == fullSource;
    place.folder = whole ? generated.directory : *shortFolder;
    place.source = whole ? generated.directory + generated.name : *fits;
    return place;
}
