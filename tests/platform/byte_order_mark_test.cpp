#include "platform/byte_order_mark.h"

#include <gtest/gtest.h>

#include <string>

#include "support/content_stream.h"

namespace kelvoran {
namespace {

std::string Rest(std::FILE* file) {
  std::string text;
  int c;
  while ((c = std::fgetc(file)) != EOF) text += static_cast<char>(c);
  return text;
}

// Whatever the file begins with, nothing but a whole mark is taken from it.
TEST(ByteOrderMarkTest, OnlyAWholeMarkIsSkipped) {
  struct Case {
    const char* label;
    std::string content;
    bool skipped;
    std::string rest;
  } cases[] = {
      {"a mark before the first line", "\xEF\xBB\xBF" "DEST=PRD\r\n", true, "DEST=PRD\r\n"},
      {"a mark alone", "\xEF\xBB\xBF", true, ""},
      {"no mark", "DEST=PRD\n", false, "DEST=PRD\n"},
      {"an empty file", "", false, ""},
      {"the mark's first byte, then text", "\xEFxy\n", false, "\xEFxy\n"},
      {"two bytes of the mark, then the end", "\xEF\xBB", false, "\xEF\xBB"},
      {"two bytes of the mark, then text", "\xEF\xBBz\n", false, "\xEF\xBBz\n"},
      {"a mark only once", "\xEF\xBB\xBF\xEF\xBB\xBFx", true, "\xEF\xBB\xBFx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FilePtr file = StreamHolding(c.content);
    EXPECT_EQ(SkipByteOrderMark(file.get()), c.skipped);
    EXPECT_EQ(Rest(file.get()), c.rest);
    EXPECT_EQ(std::string(WithoutByteOrderMark(c.content)), c.rest);
  }
}

}  // namespace
}  // namespace kelvoran
