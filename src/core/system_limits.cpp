#include "core/system_limits.h"

#include "core/long_path.h"

using namespace system_limits;

std::optional<std::string> PathWithinPlainLimit(std::string_view path, const std::optional<std::string>& shortForm) {
    if (path.size() < kPlainPathLimit) return std::string(path);
    if (shortForm && shortForm->size() < kPlainPathLimit) return shortForm;
    return std::nullopt;
}

uint32_t JobCreationFlags(bool waits, bool toolInJob, bool toolJobAllowsBreakaway) {
    if (!waits) return 0;
    // Creating a program with breakaway fails in a job that does not allow it; without it, the
    // program starts in the tool's job, and on Windows 7 stays out of a job of its own.
    return kCreateSuspended | (toolInJob && toolJobAllowsBreakaway ? kCreateBreakaway : 0);
}

uint32_t WaitWakeMask(bool systemHasPointerInput) {
    return kQsAllInputWindows7 | (systemHasPointerInput ? kQsTouch | kQsPointer : 0);
}

uint32_t NarrowerWakeMask(uint32_t refused) {
    uint32_t narrower = refused & ~(kQsTouch | kQsPointer);
    return narrower == refused ? 0 : narrower;
}

bool TryOpenAgain(uint32_t error, uint32_t elapsedMs) {
    return error == kErrorSharingViolation && elapsedMs < kHeldMomentMs;
}
