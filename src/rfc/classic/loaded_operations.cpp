// SAP's LIBRFC32.dll loaded when the run first needs it (see platform/shared_library.h for
// where it is looked for): the table holds the operations it exports.
#include "rfc/classic/library_state.h"
#include "rfc/classic/rfc_operations.h"
#include "rfc/library_loading.h"
#include "rfc/library_steps.h"

namespace kelvoran {

namespace {

// What LIBRFC32.dll needs beside it differs between SAP's releases of it: the message names
// nothing.
constexpr SapLibraryFile kClassicLibrary = {"LIBRFC32.dll", ""};

}  // namespace

std::optional<std::string> LoadRfcLibrary(RunContext& ctx, std::string_view destination) {
  LibraryState& state = ClassicState(ctx);
  RfcOperations& operations = state.operations;
  return BindSapLibrary(ctx, destination, state.sap, kClassicLibrary,
                        [&operations](const SharedLibrary& library, std::string& missing) {
                          KELVORAN_CLASSIC_OPERATIONS(KELVORAN_FIND_LOADED_OPERATION)
                        });
}

}  // namespace kelvoran
