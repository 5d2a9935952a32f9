#pragma once
// The file and directory operations the tool's logic needs. Paths are ANSI texts, converted to
// UTF-16 at each call. None of them reports failure: a failed open gives a file that reads as
// empty and swallows writes, as the callers expect.
#include <optional>
#include <string>
#include <string_view>

#include "core/line_reader.h"
#include "platform/handles.h"

// An open text file, owned by the one step that opened it. Move-only; closed on destruction
// if the caller has not closed it.
struct TextFile {
    UniqueHandle handle;  // none when the open failed or after closing
    bool writing = false;
    LineReader reader;

    TextFile() = default;
    TextFile(TextFile&& other) noexcept = default;
    TextFile& operator=(TextFile&& other) noexcept;
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    ~TextFile();
};

// True only for an existing file that is not a directory; false for "", wildcards and "X:".
bool FileExists(std::string_view path);
// The same for a path held in UTF-16 from end to end (the settings file's own).
bool FileExists(const std::wstring& path);

TextFile OpenTextForReading(std::string_view path);
TextFile OpenTextForReading(const std::wstring& path);
bool AtEndOfFile(TextFile& file);
// The next line into `line`, whose storage is reused from line to line.
void ReadLine(TextFile& file, std::string& line);

// Creates the file or empties an existing one.
TextFile CreateTextFile(std::string_view path);
TextFile CreateTextFile(const std::wstring& path);
void WriteText(TextFile& file, std::string_view text);
void CloseFile(TextFile& file);

// Makes the file hold `text` exactly: writes it over the old bytes from the start (creating a
// missing file) and cuts the file after it only once every byte is written, so a write that
// fails part-way leaves the file at least as long as it was. A file that cannot be opened
// (held by another program, no right to write) keeps what it held.
void WriteWholeFile(std::string_view path, std::string_view text);
void WriteWholeFile(const std::wstring& path, std::string_view text);
// Writes a new file with `text`, only where no file of that name exists: an existing one,
// even one that a look at the folder did not show, keeps every byte.
void WriteNewFile(std::string_view path, std::string_view text);
void WriteNewFile(const std::wstring& path, std::string_view text);

// The whole file's bytes; a missing file is created empty, an unopenable one gives "". A file
// another program holds for a moment is tried again for about a second.
std::string ReadWholeFile(std::string_view path);

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
std::string GetCurrentDir();
void SetCurrentDir(std::string_view path);
// Makes the drive of the text's first character current (with the directory the system
// remembers for it).
void SetCurrentDrive(std::string_view text);
