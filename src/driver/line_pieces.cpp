#include "driver/line_pieces.h"

#include <cstring>
#include <limits>
#include <vector>

namespace kelvoran {

bool ReadLinePiece(std::FILE* file, std::size_t bufferSize, std::string& piece) {
  piece.clear();
  if (bufferSize < 2 || bufferSize > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    return false;
  std::vector<char> buffer(bufferSize, '\0');
  if (std::fgets(buffer.data(), static_cast<int>(bufferSize), file) == nullptr) return false;
  piece.assign(buffer.data(), std::strlen(buffer.data()));
  if (!piece.empty() && piece.back() == '\n') piece.pop_back();
  if (!piece.empty() && piece.back() == '\r') piece.pop_back();
  return true;
}

}  // namespace kelvoran
