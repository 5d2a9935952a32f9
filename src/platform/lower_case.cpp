// The Windows side of the core's one outside need: the system's ANSI lower-casing.
#include <windows.h>

#include <algorithm>

#include "platform/text.h"

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    // CharLowerBuffA takes a DWORD length; texts here are far shorter, but go in slices anyway.
    for (size_t done = 0; done < lower.size();) {
        DWORD slice = static_cast<DWORD>(std::min<size_t>(lower.size() - done, 1u << 30));
        CharLowerBuffA(lower.data() + done, slice);
        done += slice;
    }
    return lower;
}
