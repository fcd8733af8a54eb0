#include "output/output_buffer.h"

#include <algorithm>

namespace kelvoran {

void OutputBuffer::Append(std::string_view text) {
  text_.append(text.substr(0, std::min(text.size(), Room())));
}

}  // namespace kelvoran
