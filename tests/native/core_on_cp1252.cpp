// The core's outside needs (core/outside_needs.h) for native builds: code page 1252 as Windows
// has it, the lower-casing it applies (A-Z, C0-D6, D8-DE, 8A, 8C, 8E, 9F) and no lead bytes, so
// native runs see the same results.
#include "core/outside_needs.h"

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        unsigned char b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) b += 32;
        else if (b == 0x8A || b == 0x8C || b == 0x8E) b += 16;
        else if (b == 0x9F) b = 0xFF;
        c = static_cast<char>(b);
    }
    return lower;
}

const LeadBytes& SystemLeadBytes() {
    static const LeadBytes none;
    return none;
}
