#pragma once
// Opening a file again while another program holds it for a moment.
#include <windows.h>

#include "core/system_limits.h"

// Calls `attempt` (one open; it gives 0 when done, otherwise the system's error code) again
// while it fails with a sharing violation, for about a second: a virus scanner or an indexer
// opens a new or changed file right after its writer closes it.
template <typename Attempt>
void RetryWhileHeld(Attempt attempt) {
    DWORD start = GetTickCount();
    while (TryOpenAgain(attempt(), GetTickCount() - start)) Sleep(50);
}
