// A fixture for tests of the simulated RFC library through its C interface, declared as SAP
// declares it: helpers that call the library the way the probe does.
#ifndef KELVORAN_TESTS_SIMRFC_SIM_RFC_FIXTURE_H
#define KELVORAN_TESTS_SIMRFC_SIM_RFC_FIXTURE_H

#include <cstring>
#include <string>

#include "sap_declarations.h"
#include "simrfc/sim_library_fixture.h"

namespace kelvoran {

/// SAP declares the texts it takes as `char*`; the library only reads them.
inline char* Text(const char* text) { return const_cast<char*>(text); }

class SimRfcTest : public SimLibraryTest {
 protected:
  static RFC_ERROR_INFO LastError() {
    RFC_ERROR_INFO error;
    std::memset(&error, 0, sizeof error);
    RfcLastError(&error);
    return error;
  }

  /// RfcOpen by application server, with user and password padded as the probe pads them.
  static RFC_HANDLE OpenServer(const char* host, int systemNumber, const char* client = "100",
                               const char* user = "MONI", const char* password = "secret") {
    std::string paddedUser = user, paddedPassword = password;
    if (paddedUser.size() < 12) paddedUser.resize(12, ' ');
    if (paddedPassword.size() < 10) paddedPassword.resize(10, ' ');
    std::string destination = "PRD", clientCopy = client, language = "E";
    RFC_CONNOPT_R3ONLY server{const_cast<char*>(host), systemNumber, nullptr, nullptr};
    RFC_OPTIONS options{destination.data(),    RFC_MODE_R3ONLY,        &server,
                        clientCopy.data(),     paddedUser.data(),      paddedPassword.data(),
                        language.data(),       0};
    return RfcOpen(&options);
  }
};

}  // namespace kelvoran

#endif
