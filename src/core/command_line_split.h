#pragma once
// How a program's command line falls apart into its arguments: the rules of the system's
// CommandLineToArgvW, written out so that the native build can check the command lines the
// tool builds against them.
#include <string>
#include <string_view>
#include <vector>

// The first argument is the program: inside quotes up to the next double quote, otherwise up to
// the first space or tab, with no escapes. In the arguments after it, spaces and tabs separate
// outside quotes; 2n backslashes before a double quote give n backslashes and the quote opens or
// closes; 2n+1 give n backslashes and a quote character; other backslashes are plain; three
// double quotes in a row give one.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);
