#pragma once
// Whether the generated test source path a test file gives may reach a command line and a file
// name. A test file travels with other people's projects: a double quote in its "output=" or
// "source=" value would end the quoted path and add arguments of its own, and a NUL, CR or LF
// would cut or break the path. No Windows path holds any of them, so refusing them costs no
// project that works.
#include <string_view>

bool GeneratedSourceUsable(std::string_view generatedSource);
