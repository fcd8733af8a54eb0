#include "platform/byte_order_mark.h"

namespace kelvoran {

bool SkipByteOrderMark(std::FILE* file) {
  const int first = std::fgetc(file);
  if (first == EOF) return false;
  if (static_cast<unsigned char>(first) != static_cast<unsigned char>(kUtf8ByteOrderMark[0])) {
    // The usual case: one character back, which every stream takes.
    std::ungetc(first, file);
    return false;
  }
  char rest[2];
  const std::size_t got = std::fread(rest, 1, sizeof rest, file);
  if (got == sizeof rest && std::string_view(rest, got) == kUtf8ByteOrderMark.substr(1))
    return true;
  // A text that merely begins with the mark's first byte: read again from the start. The
  // probe opens only regular files, which can be positioned.
  std::clearerr(file);
  std::fseek(file, 0, SEEK_SET);
  return false;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark)
    text.remove_prefix(kUtf8ByteOrderMark.size());
  return text;
}

}  // namespace kelvoran
