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
  const std::optional<unsigned> count = WholeNumberUpTo(value, kMostParallel);
  if (!count) return "Error 1035: Invalid Parallel " + value + " found...";
  ctx.parallel = *count;
  return std::nullopt;
}

}  // namespace kelvoran
