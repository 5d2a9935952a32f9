#pragma once
// The full and short (8.3) forms of a path, for the outside programs, which take only plain
// paths shorter than 260 characters, and for the current directory, which holds none longer.
#include <optional>
#include <string>
#include <string_view>

// The path resolved against the current directory; the path itself where the system gives none.
std::string FullPath(std::string_view path);
// The file system's short form of an existing path, in its plain form; nothing where the system
// gives none (a missing path). Where the volume keeps no short names, the path comes back whole.
std::optional<std::string> ShortForm(std::string_view path);
// A path as an outside program gets it on a command line: as it stands, or by its short form
// where it has 260 characters or more and a short form that has fewer. Stored paths stay whole.
std::string CommandLinePath(std::string_view path);
