#include "indexed_landscape.h"

#include <climits>
#include <utility>

namespace simsap {

std::optional<IndexedLandscape> IndexedLandscape::Read(std::string text, std::string_view fileName,
                                                       std::string& error) {
  IndexedLandscape landscape;
  text.erase(0, text.size() - WithoutByteOrderMark(text).size());
  landscape.text_ = std::move(text);
  landscape.fileName_ = std::string(fileName);
  error = ReadLandscape(
      landscape.text_, fileName, 1,
      [&landscape](SystemEntry&& system, std::size_t begin, std::size_t end) {
        const std::size_t position = landscape.sections_.size();
        landscape.sections_.push_back(Section{begin, end, system.line});
        if (!system.asHost.empty()) {
          landscape.byServer_.emplace(ServerKey(system.asHost, system.systemNumber), position);
        }
        if (!system.gwHost.empty()) {
          landscape.byGateway_.emplace(GatewayKey(system.gwHost, system.gwService), position);
        }
      });
  if (!error.empty()) return std::nullopt;
  landscape.sections_.shrink_to_fit();
  return landscape;
}

const SystemEntry* IndexedLandscape::Entry(std::size_t position) const {
  const auto cached = entries_.find(position);
  if (cached != entries_.end()) return &cached->second;
  const Section& section = sections_[position];
  const std::string_view lines =
      std::string_view(text_).substr(section.begin, section.end - section.begin);
  const SystemEntry* entry = nullptr;
  // The text was checked as a whole, so its sections read without fault.
  ReadCheckedLandscape(lines, fileName_, section.line,
                       [&](SystemEntry&& system, std::size_t, std::size_t) {
                         entry = &entries_.emplace(position, std::move(system)).first->second;
                       });
  return entry;
}

const SystemEntry* IndexedLandscape::FindByServer(std::string_view host, int systemNumber) const {
  const auto found = byServer_.find(ServerKey(host, systemNumber));
  return found == byServer_.end() ? nullptr : Entry(found->second);
}

bool IndexedLandscape::HasServerHost(std::string_view host) const {
  const ServerKeyType first = ServerKey(host, INT_MIN);
  const auto next = byServer_.lower_bound(first);
  return next != byServer_.end() && next->first.first == first.first;
}

const SystemEntry* IndexedLandscape::FindByGateway(std::string_view host,
                                                   std::string_view service) const {
  const auto found = byGateway_.find(GatewayKey(host, service));
  return found == byGateway_.end() ? nullptr : Entry(found->second);
}

bool IndexedLandscape::HasGatewayHost(std::string_view host) const {
  const GatewayKeyType first = GatewayKey(host, "");
  const auto next = byGateway_.lower_bound(first);
  return next != byGateway_.end() && next->first.first == first.first;
}

void IndexedLandscape::ForgetEntries(const std::function<bool(const SystemEntry*)>& needed) const {
  for (auto entry = entries_.begin(); entry != entries_.end();) {
    entry = needed(&entry->second) ? std::next(entry) : entries_.erase(entry);
  }
}

}  // namespace simsap
