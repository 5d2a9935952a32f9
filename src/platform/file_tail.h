#pragma once
// The end of a file, read without reading the rest: a compiler's log may be any size, and only
// its last lines can be shown.
#include <cstddef>
#include <string>
#include <string_view>

struct FileTail {
    std::string bytes;        // the file's last bytes, at most the number asked for
    bool whole = true;        // false when the file holds more before them
    unsigned long error = 0;  // the system's error when the file could not be opened or read
};

// The last `most` bytes of the file at `path`, opened without sharing, as the compiler's log has
// always been read: a missing file is created empty (read and write, or read alone where writing
// is refused). A file that cannot be opened gives no bytes and its error, so that a caller may
// try again while another program holds it for a moment.
FileTail ReadFileTail(std::string_view path, size_t most);
