#pragma once
// Line reading of bytes, shared by every text file the tool reads.
// A CR ends a line and swallows one LF right after it; a lone LF stays inside the line;
// byte 26 (Ctrl-Z) ends the file; a last line without a line end is still a line.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct LineReader {
    // Fills `buffer` with up to `capacity` bytes and returns how many; 0 means the end.
    std::function<size_t(char* buffer, size_t capacity)> fill;
    std::string buffer;
    size_t position = 0;
    bool exhausted = false;
};

// True when no byte remains or the next byte is 26.
bool LineReaderAtEnd(LineReader& reader);
// The next line without its line end; the empty text at the end.
std::string LineReaderNext(LineReader& reader);
// The same into `line`, whose storage is reused from line to line.
void LineReaderNext(LineReader& reader, std::string& line);

// Every line of a byte string, as a reader over a file holding those bytes would give them.
std::vector<std::string> SplitLines(std::string_view bytes);
