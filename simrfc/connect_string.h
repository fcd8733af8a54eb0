/// The connect string of RfcOpenEx: blank-separated KEY=value words, e.g.
/// "CLIENT=100 USER=MONI PASSWD=secret LANG=D DEST=PRD". Keys ignore letter case. A value that
/// holds blanks is set in double quotes, as SAP's library reads it: PASSWD="my secret".
#ifndef KELVORAN_SIMRFC_CONNECT_STRING_H
#define KELVORAN_SIMRFC_CONNECT_STRING_H

#include <optional>
#include <string>
#include <string_view>

namespace simrfc {

struct ConnectParameters {
  std::string client, user, password, language, destination;
};

/// Reads `text` into `parameters`; returns what is wrong with it, or nothing. The message never
/// quotes a word of the string, since a password may be among them.
std::optional<std::string> ParseConnectString(std::string_view text, ConnectParameters& parameters);

}  // namespace simrfc

#endif
