#include "output/document.h"

#include <gtest/gtest.h>

#include "support/test_context.h"

namespace kelvoran {
namespace {

TEST(DocumentTest, ErrorDocumentReplacesChannels) {
  TestContext t;
  BeginDocument(t.ctx);
  t.ctx.output.Append("\n<Result><Channel>x</Channel>\n<Value>1</Value></Result>\n");
  WriteErrorDocument(t.ctx, "Error 1018: DataBase mismatch !");
  EXPECT_EQ(t.ctx.output.Text(),
            "<Prtg>\n<Error>1</Error>\n<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n");
}

}  // namespace
}  // namespace kelvoran
