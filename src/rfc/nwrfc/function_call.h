/// One call of a function module through the NW RFC library, and reading its answer.
#ifndef KELVORAN_RFC_NWRFC_FUNCTION_CALL_H
#define KELVORAN_RFC_NWRFC_FUNCTION_CALL_H

#include <cstdint>
#include <optional>
#include <string>

#include "rfc/nwrfc/nwrfc_library.h"

namespace kelvoran {

struct LibraryState;
struct RunContext;

/// "Error 1012: Exception.: " + the error record's key for an ABAP exception (5), "Error 1013:
/// Sys-Exception raised !" for an ABAP message or runtime failure (4, 3), "Error 1014:
/// RFC-Failure raised !" for a communication failure (1), "Error 1015: Other Failure raised !"
/// for every other code. Empty for 0.
std::string NwResultMessage(int code, const NwErrorInfo& error);

/// A function module's description, its function and the call on the open connection. Every
/// failure keeps its error record as the state's last error and makes `Result()` its code
/// (never 0); the function is destroyed with this object.
class FunctionCall {
 public:
  FunctionCall(RunContext& ctx, const char* module);
  ~FunctionCall();
  FunctionCall(const FunctionCall&) = delete;
  FunctionCall& operator=(const FunctionCall&) = delete;

  /// Calls the module; its result.
  int Invoke();
  /// The structure of the export parameter `name`, null on failure.
  NwDataHandle Structure(const char* name);
  /// A field of `structure`: characters (blank-padded, `length` of them), an integer, or a
  /// packed number of `length` bytes as its decimal text with `decimals` fraction digits (an
  /// empty text when what the library hands back is no such number). Nothing on failure.
  std::optional<std::string> Chars(NwDataHandle structure, const char* field, unsigned length);
  std::optional<std::int32_t> Int(NwDataHandle structure, const char* field);
  std::optional<std::string> Decimal(NwDataHandle structure, const char* field,
                                     unsigned length, unsigned decimals);

  int Result() const { return result_; }

 private:
  // Keeps `error` as the last error; its code, or 15 when a failing call left it 0.
  void Failed(const NwErrorInfo& error);

  RunContext& ctx_;
  LibraryState& rfc_;
  NwDataHandle function_ = nullptr;
  int result_ = 0;
};

/// `text` as a decimal number with exactly `decimals` fraction digits, written as the classic
/// library's packed numbers are: an optional '-', the whole digits without leading zeros
/// (at least one), '.', the fraction; a zero has no sign. Nothing when `text` is no such
/// number or has more fraction digits.
std::optional<std::string> NormalizedDecimal(std::string_view text, unsigned decimals);

}  // namespace kelvoran

#endif
