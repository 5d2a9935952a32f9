#pragma once
// Driving the stand-in program (tests/standins) from tests: installing copies of it under the
// names of the outside programs, telling them what to do, and reading how they were started.
#include <string>
#include <string_view>
#include <vector>

#include "platform/handles.h"
#include "test_support.h"

// One start of a stand-in, as it recorded it (texts converted to ANSI).
struct StandinRecord {
    std::string command;    // GetCommandLineW
    std::string directory;  // its current directory
    int show = -1;          // wShowWindow of its STARTUPINFOW
    bool useShowWindow = false;
    unsigned errorMode = 0;  // the error mode it inherited
    unsigned processId = 0;  // its process ID
};

// standin.exe beside the test executable.
std::string StandinPath();
// Copies the stand-in to `programPath` (folders must exist).
void InstallStandin(std::string_view programPath);
// The program's plan file (its path with the extension replaced by ".plan"); ANSI key=value text.
void WriteStandinPlan(std::string_view programPath, std::string_view planText);
// The program's record file (extension replaced by ".record").
std::string StandinRecordPath(std::string_view programPath);
// The complete blocks recorded so far; none when the program never ran.
std::vector<StandinRecord> StandinRecords(std::string_view programPath);
// Waits until at least `count` blocks are recorded (for programs started without waiting),
// giving up after half a minute; returns what is there.
std::vector<StandinRecord> WaitForStandinRecords(std::string_view programPath, size_t count);
// Deletes the program file, waiting (up to half a minute) while its running process holds it.
void WaitUntilDeletable(std::string_view programPath);

// Another process holding a file open with share mode 0 (a copy of the stand-in in a folder of
// its own, see its `hold` plan key), as a user's editor or virus scanner may: every open of the
// file by anyone else fails until it is released. A missing file is created by the hold.
class HeldByAnotherProcess {
public:
    explicit HeldByAnotherProcess(std::string_view path);
    // Releases the file if that has not happened yet.
    ~HeldByAnotherProcess();
    HeldByAnotherProcess(const HeldByAnotherProcess&) = delete;
    HeldByAnotherProcess& operator=(const HeldByAnotherProcess&) = delete;

    // The other process has the file open.
    bool Held() const { return held_; }
    // Lets go of the file and waits until the holding process has ended.
    void Release();

private:
    TempDir folder_;
    UniqueHandle process_;
    bool held_ = false;
};
