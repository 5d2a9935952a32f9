#pragma once
// The paths the outside programs get. The framework tool and the compilers take only plain
// paths shorter than 260 characters, and the process's current directory holds none longer
// (where it does, with long paths on, no program can be started from it any more): deeper
// paths go by their short (8.3) forms. The stored paths stay as they are.
#include <optional>
#include <string>
#include <string_view>

#include "core/settings_record.h"
#include "core/text.h"

// The record with the paths its command lines hand over (the framework tool, the test file, the
// active compiler and include folder) in forms the programs can take (CommandLinePath).
SettingsRecord WithCommandLinePaths(const SettingsRecord& record);

// Where the compiler runs and how it is given the generated source.
struct CompilePlace {
    // The folder to enter; nothing where the source's path is too long even by the folder's
    // short form (and nothing is to be compiled).
    std::optional<std::string> folder;
    // The generated source as the compiler and the test program get it: the path as it stands,
    // or by the folder's short form, the name kept, where the path is too long.
    std::string source;
    // The compiler's log by its full path in the source's folder ("" without a log name), never
    // by a name resolved against whatever the current directory happens to be.
    std::string log;
    std::string fullFolder;
};
CompilePlace CompilePlaceFor(const PathParts& generated, std::string_view logName);
