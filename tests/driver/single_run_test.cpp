#include "driver/single_run.h"

#include <gtest/gtest.h>

namespace kelvoran {
namespace {

TEST(SingleRunTest, ParameterDisplay) {
  struct Case {
    const char* text;
    const char* display;
  } cases[] = {
      {"", "(No Parameters)"},
      {"#", "(No Parameters)"},
      {"# CH=2", "(No Parameters)"},
      {"(Parameters #x", "(No Parameters)"},
      {"(No @x", "(No Parameters)"},
      {"-s ch=2", "-s ch=2"},
      {"-s @host", "-s "},
      {"a@b#c", "a"},
      {"a#b@c", "a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParameterDisplay(c.text), c.display);
  }
}

}  // namespace
}  // namespace kelvoran
