#pragma once
// Replacing a file's whole content so that a write cut short (a process killed, a disk that
// fills, a share that drops) leaves the previous content whole, and the file keeps what it is:
// its attributes, its access rights, its links and its other names.
#include <string>
#include <string_view>

// Whether a replace rewrites the file in place rather than putting a new file in its place: for
// a link to another file (a reparse point), a file with more than one name, and an encrypted or
// compressed file, whose nature a new file would lose. Public for the tests.
bool SavesInPlace(unsigned long attributes, unsigned long links);

// Makes the file at `path` hold `text`. `attributes` are the file's as the caller found them
// (INVALID_FILE_ATTRIBUTES where there is none); a caller leaves alone what it must not replace
// (a read-only file, a folder). A held file keeps what it held.
void ReplaceFileSafely(const std::wstring& path, std::string_view text, unsigned long attributes);
