/// The classic library's configuration file and the connect string of its destination route.
#ifndef KELVORAN_RFC_CLASSIC_CONNECT_STRING_H
#define KELVORAN_RFC_CLASSIC_CONNECT_STRING_H

#include <string>

namespace kelvoran {

struct RunContext;

/// The library's configuration file, which RfcOpenEx reads its destinations from.
inline constexpr const char* kRfcIniName = "SapRfc.ini";

/// The connect string of the destination route, from the profile's values without their
/// trailing blanks; the language is always D, and a value that holds a blank is set in double
/// quotes.
std::string BuildConnectString(const RunContext& ctx);

}  // namespace kelvoran

#endif
