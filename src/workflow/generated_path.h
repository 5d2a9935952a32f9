#pragma once
#include <string>

// Where the framework tool puts the generated test source for the current test file;
// "" when the current test file names no existing file.
std::string GeneratedTestSourcePath();
