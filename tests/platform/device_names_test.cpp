// Which names Windows takes for devices instead of files.
#include <gtest/gtest.h>

#include "platform/device_names.h"

namespace kelvoran {
namespace {

TEST(DeviceNamesTest, ReservedNamesInAnyFolderCaseAndExtension) {
  const struct {
    const char* path;
    bool device;
  } cases[] = {
      {"NUL", true},
      {"nul", true},
      {"Aux.P00", true},
      {"con.txt.bak", true},
      {"PRN", true},
      {"D:\\cfg\\COM1.txt", true},
      {"sensors/lpt9", true},
      {"C:NUL", true},
      {"NUL .P00", true},
      {"..\\Com5", true},
      {"COM0", false},
      {"COM10", false},
      {"LPT", false},
      {"NULL", false},
      {"CONSOLE.P00", false},
      {"xNUL.P00", false},
      {"SapRfc.CON", false},
      {"NUL\\PRD.P00", false},
      {"PRD.P00", false},
      {"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsReservedDeviceName(c.path), c.device) << c.path;
  }
}

}  // namespace
}  // namespace kelvoran
