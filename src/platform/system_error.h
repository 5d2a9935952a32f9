#pragma once
// The system's own words for an error code.
#include <cstdint>
#include <string>

// The system's text for an error code, without a trailing line end.
std::string SystemErrorText(uint32_t error);
