/// "SapRfc.ini", the library's configuration file of destinations, read by RfcOpenEx.
///
///   DEST=PRD          starts the entry of destination PRD
///   TYPE=A            A: application server (ASHOST, SYSNR); 2: R/2 through a gateway
///   ASHOST=sapprd01   application server host
///   SYSNR=00          system number, two digits
///   GWHOST=sapgw      gateway host (with GWSERV; used when there is no ASHOST)
///   GWSERV=sapgw00    gateway service
///
/// Keys ignore letter case; blank lines and lines that begin with '#' or '*' are comments.
#ifndef KELVORAN_SIMRFC_RFC_INI_H
#define KELVORAN_SIMRFC_RFC_INI_H

#include <string>
#include <string_view>
#include <vector>

namespace simrfc {

inline constexpr const char* kRfcIniFileName = "SapRfc.ini";

struct RfcDestination {
  std::string name;
  int line = 0;
  bool viaGateway = false;
  std::string asHost;
  int systemNumber = -1;
  std::string gwHost, gwService;
};

struct RfcIniResult {
  std::vector<RfcDestination> destinations;
  /// Empty when the text was read; otherwise "<file> line <n>: <what is wrong>".
  std::string error;
};

RfcIniResult ParseRfcIni(std::string_view text, std::string_view fileName);

/// The destination called `name` (exact spelling), or null.
const RfcDestination* FindDestination(const std::vector<RfcDestination>& destinations,
                                      std::string_view name);

}  // namespace simrfc

#endif
