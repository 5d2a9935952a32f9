// The core's Windows side: what core/outside_needs.h asks of the system, answered by it (the
// ANSI lower-casing and the lead bytes of the code page).
#include "core/outside_needs.h"

#include <windows.h>

#include <algorithm>

namespace {

// Text of bytes below 128 only is plain ASCII in every ANSI code page (no lead byte of a
// double-byte code page is below 128), and CharLowerBuffA lowers exactly A-Z there, Turkish
// and Azerbaijani included ("I" always becomes "i"). Such text, the common case for keys,
// is lowered here without the round trip through UTF-16 that the system call makes.
bool LowerAscii(std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 128) return false;
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    return true;
}

}  // namespace

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    if (LowerAscii(lower)) return lower;
    // CharLowerBuffA takes a DWORD length; texts here are far shorter, but go in slices anyway.
    for (size_t done = 0; done < lower.size();) {
        DWORD slice = static_cast<DWORD>(std::min<size_t>(lower.size() - done, 1u << 30));
        CharLowerBuffA(lower.data() + done, slice);
        done += slice;
    }
    return lower;
}

// The code page of a process does not change while it runs: asked once.
const LeadBytes& SystemLeadBytes() {
    static const LeadBytes lead = [] {
        LeadBytes bytes;
        CPINFO info = {};
        if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 2) return bytes;
        // Pairs of first and last byte of each range, ended by a pair of zeros.
        for (int range = 0; range + 1 < MAX_LEADBYTES && info.LeadByte[range] != 0; range += 2)
            for (unsigned byte = info.LeadByte[range]; byte <= info.LeadByte[range + 1]; ++byte) bytes.set(byte);
        return bytes;
    }();
    return lead;
}
