// The result document written from a DB02INFDB4 record laid out by hand, field by field at the
// offsets SAP defines, so that a field read from the wrong place shows.
#include "rfc/classic/db4_call.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "driver/command_line.h"
#include "support/test_context.h"

namespace kelvoran {
namespace {

class Db4Record {
 public:
  Db4Record() {
    std::memset(bytes_, ' ', sizeof bytes_);
    Text(0, "DB4");
    Text(10, "20241007");
    Text(18, "061500");
    Text(24, "PRD");
    // Every figure differs, so each channel shows which field it took.
    const std::int32_t counts[] = {1, 2, 3};  // TAB_CNT, CST_CNT, IDX_CNT
    for (int i = 0; i < 3; ++i) Int(32 + 4 * i, counts[i]);
    Packed(44, "000000000004711C");  // TAB_SIZE
    Packed(52, "000000000004712C");  // CST_SIZE
    Packed(60, "000000000004713C");  // IDX_SIZE
    const std::int32_t missing[] = {11, 12, 13, 14, 21, 22, 23, 24};  // TAB_MIS_DB ... VIE_MIS_DD
    for (int i = 0; i < 8; ++i) Int(68 + 4 * i, missing[i]);
    Packed(100, "000000006341250C");  // SYS_ASP_P
    Packed(108, "00014316558C");      // SYS_ASP_S
    Packed(114, "00022577062C");      // ASP_TOT_S
  }
  void Text(unsigned offset, const std::string& text) {
    std::memcpy(bytes_ + offset, text.data(), text.size());
  }
  void Int(unsigned offset, std::int32_t value) {
    std::memcpy(bytes_ + offset, &value, sizeof value);
  }
  void Packed(unsigned offset, const std::string& hex) {
    for (std::size_t i = 0; i < hex.size(); i += 2) {
      bytes_[offset + i / 2] = static_cast<char>(std::stoul(hex.substr(i, 2), nullptr, 16));
    }
  }
  const char* Bytes() const { return bytes_; }

 private:
  char bytes_[kDb4InfoLength];
};

const std::string kTotals =
    "\n# (PRD) Kelvoran: Info=DB4,Date=20241007,Time=061500,Sid=PRD     "
    "\n> No.of DB-Tables: 1 #\n> No.of Prim.Keys: 2 #\n> No.of Indexes: 3 #";
const std::string kDetails =
    "\n> System ASP used: 63.41250 %"
    "\n> Tables missing in DB: 11 #\n> Indexes missing in DB: 13 #"
    "\n> Prim.Keys missing in DB: 12 #\n> Views missing in DB: 14 #"
    "\n> Tables unknown to DDIC: 21 #\n> Indexes unknown to DDIC: 22 #"
    "\n> Prim.Keys unknown to DDIC: 23 #\n> Views unknown to DDIC: 24 #";

TEST(Db4QueryTest, DetailChannelsTakeTheirFieldsOnRequest) {
  Db4Record odd;
  odd.Packed(100, "00000000634125A5");  // SYS_ASP_P not a packed number
  struct Case {
    const char* label;
    const char* options;
    const Db4Record record;
    bool written;
    std::string output;
  } cases[] = {
      {"without the keyword", "FLAVOUR=Tolvane", {}, true, kTotals + "\n"},
      {"with it, any letter case", "FLAVOUR=Tolvane,detail", {}, true,
       kTotals + kDetails + "\n"},
      {"the comma belongs to it", "FLAVOUR=Tolvane DETAIL", {}, true, kTotals + "\n"},
      {"an odd percentage unread without the keyword", "FLAVOUR=Tolvane", odd, true,
       kTotals + "\n"},
      {"an odd percentage with it", "FLAVOUR=Tolvane,DETAIL", odd, false,
       "Error 1034: Invalid Number in SYS_ASP_P received !"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TestContext t;
    t.ctx.hostFlavour = HostFlavour::Tolvane;
    t.ctx.profile.destination = "PRD";
    t.ctx.parameterText = c.options;
    RebuildParameterString(t.ctx);
    EXPECT_EQ(WriteResultDocument(t.ctx, Db4FiguresOfRecord(c.record.Bytes())), c.written);
    EXPECT_EQ(t.ctx.output.Text(), c.output);
  }
}

}  // namespace
}  // namespace kelvoran
