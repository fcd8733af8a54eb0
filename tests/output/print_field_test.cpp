#include "output/print_field.h"

#include <gtest/gtest.h>

namespace kelvoran {
namespace {

TEST(PrintFieldTest, LabelIsPaddedToTheWidth) {
  struct Case {
    const char* label;
    int indent;
    const char* value;
    const char* expected;
  } cases[] = {
      {"key", 0, "V", "key             : V\n"},
      {"operation/code", 0, "RfcOpen", "operation/code  : RfcOpen\n"},
      {"internal status", 0, "x", "internal status : x\n"},
      {"a label longer than fifteen", 0, "x", "a label longer than fifteen : x\n"},
      {"key", 0, "", "key             : \n"},
      {"key", 2, "V", "  key             : V\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(FormatField(c.label, c.indent, 15, c.value), c.expected);
  }
}

}  // namespace
}  // namespace kelvoran
