#include "core/generated_source_check.h"

bool GeneratedSourceUsable(std::string_view generatedSource) {
    return generatedSource.find_first_of(std::string_view("\"\0\r\n", 4)) == std::string_view::npos;
}
