/// The buffer in which the result document is assembled before it is printed.
#ifndef KELVORAN_OUTPUT_OUTPUT_BUFFER_H
#define KELVORAN_OUTPUT_OUTPUT_BUFFER_H

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvoran {

/// Holds at most 65535 characters; whatever an append would put beyond that is cut off, so the
/// buffer never overflows. The largest document, a global run's with a channel for each of up
/// to 46 systems, needs about 50,000 when every character of its names and messages is
/// escaped; every other document stays far below 4,095.
class OutputBuffer {
 public:
  static constexpr std::size_t kCapacity = 65535;

  OutputBuffer() { text_.reserve(kCapacity); }

  void Append(std::string_view text);
  void Assign(std::string_view text) {
    text_.clear();
    Append(text);
  }
  void Clear() { text_.clear(); }

  const std::string& Text() const { return text_; }
  bool Empty() const { return text_.empty(); }
  std::size_t Room() const { return kCapacity - text_.size(); }

 private:
  std::string text_;
};

}  // namespace kelvoran

#endif
