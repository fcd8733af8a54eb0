/// Console lines of a label padded to a fixed width, a colon and a value.
#ifndef KELVORAN_OUTPUT_PRINT_FIELD_H
#define KELVORAN_OUTPUT_PRINT_FIELD_H

#include <string>
#include <string_view>

namespace kelvoran {

class Console;

/// `indent` blanks, the label left-aligned in `width` characters (a longer label whole),
/// " : ", the value and a line feed.
std::string FormatField(std::string_view label, int indent, int width, std::string_view value);

void PrintField(Console& console, std::string_view label, int indent, int width,
                std::string_view value);

}  // namespace kelvoran

#endif
