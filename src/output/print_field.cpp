#include "output/print_field.h"

#include "platform/console.h"

namespace kelvoran {

std::string FormatField(std::string_view label, int indent, int width, std::string_view value) {
  std::string line;
  if (indent > 0) line.append(static_cast<std::size_t>(indent), ' ');
  line.append(label);
  if (width > 0 && label.size() < static_cast<std::size_t>(width)) {
    line.append(static_cast<std::size_t>(width) - label.size(), ' ');
  }
  line.append(" : ");
  line.append(value);
  line.append("\n");
  return line;
}

void PrintField(Console& console, std::string_view label, int indent, int width,
                std::string_view value) {
  console.Write(FormatField(label, indent, width, value));
}

}  // namespace kelvoran
