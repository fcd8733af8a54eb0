/// The landscape as a simulated RFC library keeps it: its text and an index of the systems' ways in.
///
/// A system's entry is read from the text when a connection reaches it, and forgotten again
/// when no connection needs it, so that a landscape of thousands of systems costs the library
/// little more than its text.
#ifndef KELVORAN_SIMSAP_INDEXED_LANDSCAPE_H
#define KELVORAN_SIMSAP_INDEXED_LANDSCAPE_H

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "landscape.h"

namespace simsap {

class IndexedLandscape {
 public:
  /// Reads and checks the whole of `text`; nothing, with `error` set to its first mistake,
  /// when it is malformed. `fileName` names it in messages.
  static std::optional<IndexedLandscape> Read(std::string text, std::string_view fileName,
                                              std::string& error);

  /// The system at application server `host` (letter case ignored) with `systemNumber`, or
  /// null. The entry stays valid until ForgetEntries drops it.
  const SystemEntry* FindByServer(std::string_view host, int systemNumber) const;
  bool HasServerHost(std::string_view host) const;
  /// The system behind gateway `host` and `service` (letter case ignored), or null.
  const SystemEntry* FindByGateway(std::string_view host, std::string_view service) const;
  bool HasGatewayHost(std::string_view host) const;

  /// Drops the entries read so far for which `needed` says no.
  void ForgetEntries(const std::function<bool(const SystemEntry*)>& needed) const;
  /// How many systems' entries are held at the moment.
  std::size_t HeldEntries() const { return entries_.size(); }

 private:
  // Where a system's lines are in the text, and the number of its first line.
  struct Section {
    std::size_t begin, end;
    int line;
  };

  const SystemEntry* Entry(std::size_t position) const;

  std::string text_;
  std::string fileName_;
  std::vector<Section> sections_;
  std::map<ServerKeyType, std::size_t> byServer_;
  std::map<GatewayKeyType, std::size_t> byGateway_;
  // The entries read so far, by position in `sections_`; a cache, so reading one does not
  // change what the landscape is.
  mutable std::map<std::size_t, SystemEntry> entries_;
};

}  // namespace simsap

#endif
