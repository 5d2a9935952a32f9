#pragma once
// The file and directory operations the tool's logic needs. Paths are ANSI texts, converted to
// UTF-16 at each call. None of them reports failure: a failed open gives a file that reads as
// empty and swallows writes, as the callers expect.
#include <string>
#include <string_view>

#include "platform/line_reader.h"

// An open text file, owned by the one step that opened it. Move-only; closed on destruction
// if the caller has not closed it.
struct TextFile {
    void* handle = nullptr;  // a Win32 HANDLE; null when the open failed or after closing
    bool writing = false;
    LineReader reader;

    TextFile() = default;
    TextFile(TextFile&& other) noexcept;
    TextFile& operator=(TextFile&& other) noexcept;
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    ~TextFile();
};

// True only for an existing file that is not a directory; false for "", wildcards and "X:".
bool FileExists(std::string_view path);

TextFile OpenTextForReading(std::string_view path);
bool AtEndOfFile(TextFile& file);
std::string ReadLine(TextFile& file);
// The same into `line`, reusing its storage: for readers that go through many lines.
void ReadLine(TextFile& file, std::string& line);

// Creates the file or empties an existing one.
TextFile CreateTextFile(std::string_view path);
void WriteText(TextFile& file, std::string_view text);
void WriteLineEnd(TextFile& file);
void CloseFile(TextFile& file);

// CreateTextFile, one WriteText of `text` exactly as it stands, CloseFile: a file that cannot be
// created (held by another program, no right to write) keeps what it held.
void WriteWholeFile(std::string_view path, std::string_view text);

// The whole file's bytes; a missing file is created empty, an unopenable one gives "".
std::string ReadWholeFile(std::string_view path);

std::string ExecutablePath();
std::string GetCurrentDir();
void SetCurrentDir(std::string_view path);
// Makes the drive of the text's first character current (with the directory the system
// remembers for it).
void SetCurrentDrive(std::string_view text);
