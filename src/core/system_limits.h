#pragma once
// Where Windows sets limits the tool must work within when it starts outside programs: plain
// paths of 260 characters, job objects that cannot nest on Windows 7, pointer input that older
// systems cannot wait for, and files another program holds for a moment. Free of windows.h (the
// values are Windows' own, checked against it where they are used), so the decisions build and
// are tested natively, also those Wine cannot show.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The form of a path that a program limited to plain paths (MAX_PATH) can take, and the current
// directory can hold: the path itself when it is shorter than kPlainPathLimit, otherwise its
// short (8.3) form when it has one that is; nothing when neither is.
std::optional<std::string> PathWithinPlainLimit(std::string_view path, const std::optional<std::string>& shortForm);

// How a program is created so that it can be put in a job object of its own: a program the tool
// waits for starts suspended, and breaks away from a job the tool itself runs in where that job
// allows it (Windows 7 cannot put a program that is in a job into another one). A program the
// tool does not wait for starts as it always has.
namespace system_limits {
constexpr uint32_t kCreateSuspended = 0x00000004;       // CREATE_SUSPENDED
constexpr uint32_t kCreateBreakaway = 0x01000000;       // CREATE_BREAKAWAY_FROM_JOB
constexpr uint32_t kQsAllInputWindows7 = 0x04FF;         // QS_ALLINPUT as Windows 7 knows it
constexpr uint32_t kQsTouch = 0x0800, kQsPointer = 0x1000;  // Windows 8 and later
constexpr uint32_t kErrorSharingViolation = 32;          // ERROR_SHARING_VIOLATION
constexpr uint32_t kHeldMomentMs = 1000;                 // how long a held file is tried again
}  // namespace system_limits
uint32_t JobCreationFlags(bool waits, bool toolInJob, bool toolJobAllowsBreakaway);

// The wake mask of the wait for a program: every kind of input, touch and pen included where the
// system has them (they wake no wait whose mask leaves them out, and Windows 7 refuses a mask
// that names them). A mask the system refused is tried again narrower; 0 when there is nothing
// left to take away.
uint32_t WaitWakeMask(bool systemHasPointerInput);
uint32_t NarrowerWakeMask(uint32_t refused);

// Whether an open that failed with `error` is tried again `elapsedMs` after the first attempt:
// only a sharing violation, for about a second (a virus scanner or an indexer that opens a new
// file right after its writer closed it lets go within that).
bool TryOpenAgain(uint32_t error, uint32_t elapsedMs);
