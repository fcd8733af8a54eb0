#include "driver/parallel_keyword.h"

#include <string>
#include <string_view>

#include "driver/command_line.h"
#include "run_context.h"

namespace kelvoran {

FatalError ReadParallel(RunContext& ctx) {
  static constexpr std::string_view kKeyword = "PARALLEL=";
  const std::size_t at = ctx.parameterString.find(kKeyword);
  if (at == std::string::npos) return std::nullopt;
  const std::string value = TypedOptionValue(ctx, at + kKeyword.size());
  unsigned count = 0;
  bool whole = !value.empty();
  for (char c : value) {
    if (c < '0' || c > '9') {
      whole = false;
      break;
    }
    // Bounded: beyond the most the number is wrong however it goes on.
    if (count <= kMostParallel) count = count * 10 + static_cast<unsigned>(c - '0');
  }
  if (!whole || count < 1 || count > kMostParallel) {
    return "Error 1035: Invalid Parallel " + value + " found...";
  }
  ctx.parallel = count;
  return std::nullopt;
}

}  // namespace kelvoran
