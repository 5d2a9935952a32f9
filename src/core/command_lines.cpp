#include "core/command_lines.h"

#include "core/text.h"

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted += text;
    quoted += '"';
    return quoted;
}

namespace {

bool HasOwnQuotes(std::string_view path) { return path.size() >= 2 && path.front() == '"' && path.back() == '"'; }

}  // namespace

// Quoting a path that has its quotes already would double them, and nothing would start.
std::string QuotedProgram(std::string_view path) {
    return HasOwnQuotes(path) ? std::string(path) : Quoted(path);
}

std::string_view UnquotedProgram(std::string_view path) {
    return HasOwnQuotes(path) ? path.substr(1, path.size() - 2) : path;
}

// Every command line starts with the program path in quotes: an unquoted path with spaces
// would let the system start another program (C:\Program.exe for C:\Program Files\...).
std::string AddCommandLine(const SettingsRecord& record) {
    return QuotedProgram(record.quarex) + " " + Quoted(record.active) + " /add";
}

std::string SequenceCommandLine(const SettingsRecord& record) {
    return QuotedProgram(record.quarex) + " " + Quoted(record.active) + " /seq";
}

std::string GenerateCommandLine(const SettingsRecord& record) {
    return QuotedProgram(record.quarex) + " " + Quoted(record.active);
}

std::string CompileCommandLine(const SettingsRecord& record, std::string_view generatedSource) {
    return QuotedProgram(record.activeCompilerPath) + " /I" + Quoted(record.activeIncludeDir) + " /Q /L " +
           Quoted(generatedSource);
}

// Only the name part loses its extension: a "." in a folder name (E:\my.dir\util) is no
// extension, and cutting there would start another program (E:\my.exe).
// A name without an extension names the generated source itself, which a system that tries the
// name as given first (Wine) would start and fail on; Windows adds ".exe" there itself.
std::string TestProgramPath(std::string_view generatedSource) {
    PathParts parts = SplitPath(generatedSource);
    std::string name = CutBeforeLastDot(parts.name);
    bool hadExtension = LastPosition(parts.name, ".") != 0;
    if (LastPosition(name, ".") != 0 || (!hadExtension && !name.empty())) name += ".exe";
    return parts.directory + name;
}

// Quoting keeps the system's lookup of the program without its ".exe".
std::string TestProgramCommandLine(std::string_view generatedSource) {
    return Quoted(TestProgramPath(generatedSource));
}

// A source without an extension must not name its own log: reading the log would then read,
// or create, the source itself.
std::string CompilerLogName(std::string_view generatedSourceName) {
    // No source, no log: reading a ".log" would create a file of that name in the current folder.
    if (generatedSourceName.empty()) return {};
    return CutBeforeLastDot(generatedSourceName) + ".log";
}

std::string_view CommandLineProgram(std::string_view commandLine) {
    if (!commandLine.empty() && commandLine.front() == '"') {
        size_t close = commandLine.find('"', 1);
        return commandLine.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    }
    return commandLine.substr(0, commandLine.find(' '));
}
