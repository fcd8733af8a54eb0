// A user's per-destination file in the classic format, turned into sapnwrfc.ini: every key the
// NW RFC library knows keeps its value, nothing else passes silently.
#include "rfc/nwrfc/destination_file.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvoran {
namespace {

const std::string kHead = "# sapnwrfc.ini, written by Kelvoran from SapRfc.PRD for the "
                          "measurement through it.\n";

TEST(DestinationFileTest, KeysTheLibraryKnowsAreCarriedOver) {
  struct Case {
    const char* label;
    std::string text;
    std::string ini;
  } cases[] = {
      {"application server, CR LF, comments and blanks",
       "* destinations of the folder\r\n# another comment\r\n\r\n  dest = PRD \r\nTYPE=A\r\n"
       "ASHOST=sapprd01\r\nSysNr=00\r\nRFC_TRACE=0\r\n",
       "DEST=PRD\nASHOST=sapprd01\nSYSNR=00\nTRACE=0\n"},
      {"two entries, load balancing", "DEST=PRD\nTYPE=B\nMSHOST=msprd\nR3NAME=PRD\nGROUP=SPACE\n"
       "DEST=QAS\nASHOST=sapqas\nSYSNR=01\n",
       "DEST=PRD\nMSHOST=msprd\nR3NAME=PRD\nGROUP=SPACE\n\nDEST=QAS\nASHOST=sapqas\nSYSNR=01\n"},
      {"R/2 through a gateway", "DEST=R2X\nTYPE=2\nGWHOST=gw01\nGWSERV=sapgw02\n",
       "DEST=R2X\nGWHOST=gw01\nGWSERV=sapgw02\n"},
      {"an empty file", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const TranslatedDestinations result = TranslateDestinationFile(c.text, "SapRfc.PRD");
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.ini, kHead + c.ini);
  }
}

TEST(DestinationFileTest, WhatHasNoCounterpartIsRefused) {
  struct Case {
    const char* label;
    std::string text;
    std::string error;
  } cases[] = {
      {"unknown key", "DEST=PRD\nASHOST=h\nTPNAME=prog\n",
       "line 3: the key TPNAME has no counterpart in sapnwrfc.ini"},
      {"registered server", "DEST=PRD\nTYPE=R\n",
       "line 2: TYPE= other than A, B or 2 has no counterpart in sapnwrfc.ini"},
      {"key before DEST=", "ASHOST=h\nDEST=PRD\n", "line 1: the key ASHOST before the first DEST="},
      {"key twice", "DEST=PRD\nSYSNR=00\nsysnr=01\n", "line 3: the key SYSNR is given twice"},
      {"no KEY=value", "DEST=PRD\nsapprd01\n", "line 2: not KEY=value"},
      {"DEST= without a name", "DEST=\n", "line 1: DEST= without a name"},
      {"a value is never quoted", "DEST=PRD\nsecret value=x\n",
       "line 2: a key has no counterpart in sapnwrfc.ini"},
      {"control character", std::string("DEST=PRD\nASHOST=h\x01\n"),
       "line 2: a value holds a control character"},
      {"too long", std::string(kDestinationFileLimit + 1, '#'),
       "line 0: the file is longer than 65536 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const TranslatedDestinations result = TranslateDestinationFile(c.text, "SapRfc.PRD");
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(result.ini, "");
  }
}

}  // namespace
}  // namespace kelvoran
