#pragma once
// Line reading of bytes, shared by every text file the tool reads.
// A CR ends a line and swallows one LF right after it; a lone LF stays inside the line;
// byte 26 (Ctrl-Z) ends the file; a last line without a line end is still a line.
// A line longer than kLongestLine keeps its first kLongestLine bytes and the rest is passed over,
// so a file without line ends costs no more memory than a line of that length.
#include <cstddef>
#include <functional>
#include <string>

constexpr size_t kLongestLine = 64 * 1024;

struct LineReader {
    // Fills `buffer` with up to `capacity` bytes and returns how many; 0 means the end.
    std::function<size_t(char* buffer, size_t capacity)> fill;
    std::string buffer;
    size_t position = 0;
    bool exhausted = false;
};

// True when no byte remains or the next byte is 26.
bool LineReaderAtEnd(LineReader& reader);
// The next line, without its line end, into `line`, whose storage is reused from line to line;
// the empty text at the end.
void LineReaderNext(LineReader& reader, std::string& line);
