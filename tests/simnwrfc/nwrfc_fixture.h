// A fixture for tests of the simulated NW RFC library through its C interface, declared as SAP
// declares it: a landscape of its own, and helpers that call the library the way a client does.
#ifndef KELVORAN_TESTS_SIMNWRFC_NWRFC_FIXTURE_H
#define KELVORAN_TESTS_SIMNWRFC_NWRFC_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "simnwrfc/nwrfc_declarations.h"
#include "simnwrfc/simnwrfc_control.h"
#include "support/fixed_time.h"
#include "support/temp_dir.h"

namespace kelvoran {

using SapText = std::basic_string<SAP_UC>;

/// An ASCII or UTF-8 text as the library's callers pass it (each byte one unit is enough for
/// names; non-ASCII values are built unit by unit).
inline SapText Sap(const std::string& text) {
  SapText units;
  for (unsigned char c : text) units += static_cast<SAP_UC>(c);
  return units;
}

/// Units as text: ASCII as it is, every other unit as \uXXXX, so that messages compare whole.
inline std::string Plain(const SAP_UC* units, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned unit = static_cast<unsigned>(units[i]);
    if (unit >= 0x20 && unit < 0x7f) {
      text += static_cast<char>(unit);
    } else if (unit == '\n') {
      text += '\n';
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", unit);
      text += escaped;
    }
  }
  return text;
}

/// A NUL-terminated field of the error record as text.
template <std::size_t N>
std::string Field(const SAP_UC (&field)[N]) {
  std::size_t length = 0;
  while (length < N && field[length] != 0) ++length;
  return Plain(field, length);
}

/// code, group, key and message of an error record in one line, to compare whole.
inline std::string Describe(const RFC_ERROR_INFO& info) {
  return std::to_string(info.code) + "/" + std::to_string(info.group) + " " + Field(info.key) +
         ": " + Field(info.message);
}

/// An error record that holds something in every byte, to show what a call writes.
inline RFC_ERROR_INFO Dirty() {
  RFC_ERROR_INFO info;
  std::memset(&info, 0x5a, sizeof info);
  return info;
}

/// The landscape most tests use: a healthy system and one with faults.
inline const char* const kNwLandscape =
    "[PRD]\n"
    "ASHOST = sapprd01\n"
    "SYSNR = 00\n"
    "LOGON = 100 MONI PrdMoni01\n"
    "RFCDBSYS = DB4\n"
    "FS_A_DATE = 20241007\n"
    "FS_A_TIME = 061500\n"
    "TAB_CNT = 41234\n"
    "VIE_MIS_DD = -7\n"
    "SYS_ASP_P = 63.4125\n"
    "\n"
    "[QAS]\n"
    "ASHOST = sapqas01\n"
    "SYSNR = 10\n"
    "LOGON = 200 MONI QasMoni02\n";

class SimNwRfcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SimNwRfcReset();
    SimNwRfcSetDirectory(dir_.Path().string().c_str());
    SimNwRfcFixLocalTime(FixedTestTime());
  }
  void TearDown() override { SimNwRfcReset(); }

  void UseLandscape(const std::string& text) {
    std::string error;
    ASSERT_TRUE(SimNwRfcLoadLandscapeText(text.c_str(), &error)) << error;
  }

  /// RfcOpenConnection with these parameters (name, value), as a client passes them.
  static RFC_CONNECTION_HANDLE Open(const std::vector<std::pair<std::string, SapText>>& given,
                                    RFC_ERROR_INFO& info) {
    std::vector<SapText> names;
    for (const auto& parameter : given) names.push_back(Sap(parameter.first));
    std::vector<RFC_CONNECTION_PARAMETER> parameters;
    for (std::size_t i = 0; i < given.size(); ++i) {
      parameters.push_back({names[i].c_str(), given[i].second.c_str()});
    }
    return RfcOpenConnection(parameters.data(), static_cast<unsigned>(parameters.size()), &info);
  }

  /// The direct route to an application server, with the probe's logon parameters.
  static RFC_CONNECTION_HANDLE OpenServer(const std::string& host, const std::string& sysnr,
                                          const std::string& client, const std::string& user,
                                          const std::string& password, RFC_ERROR_INFO& info) {
    return Open({{"ashost", Sap(host)},
                 {"sysnr", Sap(sysnr)},
                 {"client", Sap(client)},
                 {"user", Sap(user)},
                 {"passwd", Sap(password)},
                 {"lang", Sap("EN")}},
                info);
  }

  static RFC_CONNECTION_HANDLE OpenPrd() {
    RFC_ERROR_INFO info = Dirty();
    const RFC_CONNECTION_HANDLE handle =
        OpenServer("sapprd01", "00", "100", "MONI", "PrdMoni01", info);
    EXPECT_NE(handle, nullptr) << Describe(info);
    return handle;
  }

  /// A function of module `name` created on `connection`.
  static RFC_FUNCTION_HANDLE Function(RFC_CONNECTION_HANDLE connection, const std::string& name) {
    RFC_ERROR_INFO info = Dirty();
    RFC_FUNCTION_DESC_HANDLE description =
        RfcGetFunctionDesc(connection, Sap(name).c_str(), &info);
    EXPECT_NE(description, nullptr) << Describe(info);
    RFC_FUNCTION_HANDLE function = RfcCreateFunction(description, &info);
    EXPECT_NE(function, nullptr) << Describe(info);
    return function;
  }

  const TempDir& Dir() const { return dir_; }

 private:
  TempDir dir_;
};

}  // namespace kelvoran

#endif
