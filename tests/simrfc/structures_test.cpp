#include "structures.h"

#include <gtest/gtest.h>

#include <vector>

namespace simrfc {
namespace {

struct Field {
  const char* name;
  unsigned type, length, decimals, offset;
};

// DB02INFDB4 as the probe describes it, with the offsets the fields must come out at.
const Field kDb4Info[] = {
    {"DBSYS", 0, 10, 0, 0},      {"FS_A_DATE", 1, 8, 0, 10},  {"FS_A_TIME", 3, 6, 0, 18},
    {"SYSID", 0, 8, 0, 24},      {"TAB_CNT", 8, 4, 0, 32},    {"CST_CNT", 8, 4, 0, 36},
    {"IDX_CNT", 8, 4, 0, 40},    {"TAB_SIZE", 2, 8, 0, 44},   {"CST_SIZE", 2, 8, 0, 52},
    {"IDX_SIZE", 2, 8, 0, 60},   {"TAB_MIS_DB", 8, 4, 0, 68}, {"CST_MIS_DB", 8, 4, 0, 72},
    {"IDX_MIS_DB", 8, 4, 0, 76}, {"VIE_MIS_DB", 8, 4, 0, 80}, {"TAB_MIS_DD", 8, 4, 0, 84},
    {"IDX_MIS_DD", 8, 4, 0, 88}, {"CST_MIS_DD", 8, 4, 0, 92}, {"VIE_MIS_DD", 8, 4, 0, 96},
    {"SYS_ASP_P", 2, 8, 5, 100}, {"SYS_ASP_S", 2, 6, 1, 108}, {"ASP_TOT_S", 2, 6, 1, 114}};

std::vector<RFC_TYPE_ELEMENT> Elements(const Field* fields, unsigned count) {
  std::vector<RFC_TYPE_ELEMENT> elements;
  for (unsigned i = 0; i < count; ++i) {
    elements.push_back(RFC_TYPE_ELEMENT{const_cast<char*>(fields[i].name), fields[i].type,
                                      fields[i].length, fields[i].decimals, 0});
  }
  return elements;
}

TEST(StructuresTest, ComputedOffsetsPackTheFieldsWithoutGaps) {
  StructureRegistry registry;
  std::vector<RFC_TYPE_ELEMENT> elements = Elements(kDb4Info, 21);
  // The fifth member is not used: whatever a caller leaves there, the fields lie one after
  // the other.
  for (unsigned i = 0; i < 21; ++i) elements[i]._not_used = 1000 - i;
  const StructureRegistry::Result result = registry.Install("DB02INFDB4", elements.data(), 21);
  ASSERT_EQ(result.error, "");
  const InstalledStructure* installed = registry.Find(result.handle);
  ASSERT_NE(installed, nullptr);
  ASSERT_EQ(installed->fields.size(), 21u);
  for (unsigned i = 0; i < 21; ++i) {
    SCOPED_TRACE(kDb4Info[i].name);
    EXPECT_EQ(installed->fields[i].offset, kDb4Info[i].offset);
  }
  EXPECT_EQ(installed->length, 120u);
  EXPECT_EQ(CompareLayout(*installed, kDb4InfoStructure), std::nullopt);
}

TEST(StructuresTest, HandlesStartAboveTheBasicTypesAndRepeatForTheSameStructure) {
  StructureRegistry registry;
  RFC_TYPE_ELEMENT row[] = {{const_cast<char*>("NAME"), 0, 40, 0, 0}};
  RFC_TYPE_ELEMENT other[] = {{const_cast<char*>("NAME"), 0, 39, 0, 0}};
  const RFC_TYPEHANDLE first = registry.Install("MISSOBJ", row, 1).handle;
  EXPECT_EQ(first, 0x100u);
  EXPECT_EQ(registry.Install("ZROW", other, 1).handle, 0x101u);
  EXPECT_EQ(registry.Install("MISSOBJ", row, 1).handle, first);
  EXPECT_EQ(registry.Install("MISSOBJ", other, 1).error,
            "structure MISSOBJ is installed already with another description");
  EXPECT_EQ(registry.Find(0), nullptr);
  EXPECT_EQ(registry.Find(0x102), nullptr);
}

TEST(StructuresTest, ElementTablesARealLibraryRefuses) {
  struct Case {
    const char* label;
    std::vector<RFC_TYPE_ELEMENT> elements;
    const char* error;
  } cases[] = {
      {"unknown type",
       {{const_cast<char*>("F"), 4, 4, 0, 0}},
       "element 1 (F) of structure S: type 4 is not a basic type (0 char, 1 date, 2 packed, 3 "
       "time, 8 integer)"},
      {"date of 6",
       {{const_cast<char*>("D"), 1, 6, 0, 0}},
       "element 1 (D) of structure S: a date has length 8, not 6"},
      {"integer of 2",
       {{const_cast<char*>("I"), 8, 2, 0, 0}},
       "element 1 (I) of structure S: an integer has length 4, not 2"},
      {"packed of 17",
       {{const_cast<char*>("P"), 2, 17, 0, 0}},
       "element 1 (P) of structure S: a packed number of length 17 is not possible (1 to 16 "
       "bytes)"},
      {"too many decimals",
       {{const_cast<char*>("P"), 2, 2, 4, 0}},
       "element 1 (P) of structure S: a packed number of length 2 holds 3 digits, not 4 "
       "decimals"},
      {"decimals of a character field",
       {{const_cast<char*>("C"), 0, 4, 1, 0}},
       "element 1 (C) of structure S: only a packed number has decimals"},
      {"no name",
       {{const_cast<char*>("A"), 0, 1, 0, 0}, {nullptr, 0, 1, 0, 0}},
       "element 2 of structure S has no name"},
      {"no elements", {}, "no elements given for structure S"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.label);
    StructureRegistry registry;
    const StructureRegistry::Result result =
        registry.Install("S", c.elements.empty() ? nullptr : c.elements.data(),
                         static_cast<unsigned>(c.elements.size()));
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(result.handle, 0u);
  }
}

TEST(StructuresTest, LayoutDifferenceNamesTheField) {
  StructureRegistry registry;
  std::vector<RFC_TYPE_ELEMENT> elements = Elements(kDb4Info, 21);
  elements[19].length = 7;  // SYS_ASP_S
  const InstalledStructure* installed =
      registry.Find(registry.Install("DB02INFDB4", elements.data(), 21).handle);
  ASSERT_NE(installed, nullptr);
  EXPECT_EQ(CompareLayout(*installed, kDb4InfoStructure),
            "structure DB02INFDB4: field 20 (SYS_ASP_S) has type 2, length 7, decimals 1, offset "
            "108; DB02INFDB4 has SYS_ASP_S with type 2, length 6, decimals 1, offset 108");
}

}  // namespace
}  // namespace simrfc
