#include "driver/line_pieces.h"

#include <cstring>
#include <limits>

namespace kelvoran {

bool ReadLinePiece(std::FILE* file, std::size_t bufferSize, std::string& piece) {
  piece.clear();
  if (bufferSize < 2 || bufferSize > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    return false;
  // The piece itself is the read buffer: its room is reused from one line to the next.
  piece.resize(bufferSize);
  if (std::fgets(&piece[0], static_cast<int>(bufferSize), file) == nullptr) {
    piece.clear();
    return false;
  }
  piece.resize(std::strlen(piece.c_str()));
  if (!piece.empty() && piece.back() == '\n') piece.pop_back();
  if (!piece.empty() && piece.back() == '\r') piece.pop_back();
  return true;
}

}  // namespace kelvoran
