#include "rfc_ini.h"

#include <gtest/gtest.h>

#include <string>

#include "simsap/text.h"

namespace simrfc {
namespace {

// The rule of the landscape holds for SapRfc.ini too: a line that may carry a password (a line
// break lost before PASSWD=) is named by its number, never quoted.
TEST(RfcIniTest, NeverQuotesALineThatMayHoldAPassword) {
  const RfcIniResult ini = ParseRfcIni("DEST=PRD\nSYSNR=00 PASSWD=Secret99\n", "SapRfc.ini");
  EXPECT_EQ(ini.error, std::string("SapRfc.ini line 2: ") + simsap::kLineNotQuoted);
}

}  // namespace
}  // namespace simrfc
