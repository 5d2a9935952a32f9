#include "workflow/deep_paths.h"

#include "core/long_path.h"
#include "core/system_limits.h"
#include "core/command_lines.h"
#include "platform/paths.h"

// Only the fields the command lines take.
SettingsRecord WithCommandLinePaths(const SettingsRecord& record) {
    struct Field {
        std::string SettingsRecord::*path;
        bool program;  // a program path in its own quotes is quoted again as it stood
    };
    static constexpr Field kFields[] = {{&SettingsRecord::quarex, true},
                                        {&SettingsRecord::activeCompilerPath, true},
                                        {&SettingsRecord::active, false},
                                        {&SettingsRecord::activeIncludeDir, false}};
    SettingsRecord forms;
    for (const Field& field : kFields) {
        std::string_view path = record.*field.path;
        forms.*field.path = CommandLinePath(field.program ? UnquotedProgram(path) : path);
    }
    return forms;
}

CompilePlace CompilePlaceFor(const PathParts& generated, std::string_view logName) {
    // The plain case as it always was: the folder and the source as the test file gave them.
    CompilePlace place;
    place.folder = generated.directory;
    place.source = generated.directory + generated.name;
    place.log = logName;
    // No folder part: the compiler runs in the current folder, where its log is too.
    if (generated.directory.empty()) return place;
    place.fullFolder = FullPath(generated.directory);
    if (!logName.empty()) place.log.insert(0, place.fullFolder);
    if (place.fullFolder.size() + generated.name.size() < kPlainPathLimit) return place;

    std::optional<std::string> shortFolder = ShortForm(place.fullFolder);
    if (shortFolder && !shortFolder->ends_with('\\')) *shortFolder += '\\';
    if (shortFolder) *shortFolder += generated.name;
    std::optional<std::string> fits = PathWithinPlainLimit(place.fullFolder + generated.name, shortFolder);
    place.folder.reset();
    if (!fits) return place;
    place.source = *fits;
    place.folder = place.source.substr(0, place.source.size() - generated.name.size());
    return place;
}
