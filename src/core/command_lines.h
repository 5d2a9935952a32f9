#pragma once
// The command lines that start the outside programs, and the names of the files they make.
// Free of the operating system, so the same rules build natively for fuzzing.
#include <string>
#include <string_view>

#include "core/settings_record.h"

// Show states the outside programs are started with.
constexpr int kShowHidden = 0;
constexpr int kShowNormal = 1;

// X with one double quote before and after it; nothing inside is escaped.
std::string Quoted(std::string_view text);
// A program path as a command line starts with it: quoted, unless the stored path already
// begins and ends with its own double quote (written by hand or by another version).
std::string QuotedProgram(std::string_view path);
// The path inside a program path's own quotes; the path itself when it has none.
std::string_view UnquotedProgram(std::string_view path);

std::string AddCommandLine(const SettingsRecord& record);
std::string SequenceCommandLine(const SettingsRecord& record);
std::string GenerateCommandLine(const SettingsRecord& record);
std::string CompileCommandLine(const SettingsRecord& record, std::string_view generatedSource);
std::string TestProgramCommandLine(std::string_view generatedSource);
// The test program: the generated source path with its name cut before the name's last ".";
// ".exe" is added where the name that remains still holds a ".", which the system would
// otherwise take for an extension of its own, and where the name had no extension at all, so
// that the source file itself is never the program started.
std::string TestProgramPath(std::string_view generatedSource);
// The compiler's log: the generated source's name with its extension replaced by ".log", or
// with ".log" added when it has none (resolved in the source's folder); "" for an empty name.
std::string CompilerLogName(std::string_view generatedSourceName);

// The program a command line starts: its first argument, without its quotes.
std::string_view CommandLineProgram(std::string_view commandLine);
