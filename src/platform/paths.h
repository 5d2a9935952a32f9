#pragma once
// Paths as the system knows them: their full, short (8.3) and "\\?\" long forms, the current
// directory and drive, and the executable's own path.
#include <optional>
#include <string>
#include <string_view>

// The executable's whole path as the system gives it, with every character it holds.
std::wstring ExecutablePathWide();

// A path that the settings and test files can hold as it is: the path in the ANSI code page
// where every character converts and it holds no "=" (which ends a settings value); otherwise
// the file system's short (8.3) form of it where that form can; nothing where neither can
// (a volume without short names, a path that does not exist).
std::optional<std::string> HoldablePath(const std::wstring& path);
// The text (a path or a name) in the ANSI code page where the settings file can hold it whole;
// nothing otherwise. Asks the system nothing.
std::optional<std::string> HeldWhole(const std::wstring& path);
// The path as the file functions hand it to the system: in its "\\?\" form where its full form
// is too long for the plain one (ExtendedLengthPath), otherwise as it stands. Not for what
// cannot take that form (the current directory, command lines).
std::wstring SystemPath(const std::wstring& path);
// The path resolved against the current directory; the path itself where the system gives none.
std::string FullPath(std::string_view path);
// The file system's short form of an existing path, in its plain form; nothing where the system
// gives none (a missing path). Where the volume keeps no short names, the path comes back whole.
std::optional<std::string> ShortForm(std::string_view path);
// A path as an outside program gets it on a command line: as it stands, or by its short form
// where it has 260 characters or more and a short form that has fewer. The outside programs take
// only plain paths shorter than that; stored paths stay whole.
std::string CommandLinePath(std::string_view path);
std::string GetCurrentDir();
void SetCurrentDir(std::string_view path);
// Makes the drive of the text's first character current (with the directory the system
// remembers for it).
void SetCurrentDrive(std::string_view text);
