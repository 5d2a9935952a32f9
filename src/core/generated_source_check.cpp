#include "core/generated_source_check.h"

bool GeneratedSourceUsable(std::string_view generatedSource) {
    return generatedSource.find_first_of(std::string_view("\"\0\r\n", 4)) == std::string_view::npos;
}

std::string UnusableGeneratedSourceReport(std::string_view testFile) {
    return "The generated source path in " + std::string(testFile) +
           " cannot be used\r\nIt holds a double quote, a line break or a NUL character, which no Windows path holds.";
}
