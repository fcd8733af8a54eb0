// SAP's NW RFC library loaded when the run first needs it (see platform/shared_library.h for
// where it is looked for): the table holds the operations it exports.
#include "rfc/library_loading.h"
#include "rfc/library_steps.h"
#include "rfc/nwrfc/library_state.h"
#include "rfc/nwrfc/nwrfc_operations.h"

namespace kelvoran {

namespace {

// The SDK's library and what it cannot load without, all from the SDK's lib folder.
#ifdef _WIN32
constexpr SapLibraryFile kNwLibrary = {
    "sapnwrfc.dll",
    "SAP's NW RFC SDK: libsapucum.dll and the ICU DLLs of its lib folder beside it, and "
    "Microsoft's Visual C++ 2013 runtime (x64) installed"};
#else
constexpr SapLibraryFile kNwLibrary = {
    "libsapnwrfc.so",
    "SAP's NW RFC SDK: libsapucum.so and the ICU libraries of its lib folder"};
#endif

}  // namespace

std::optional<std::string> LoadRfcLibrary(RunContext& ctx, std::string_view destination) {
  LibraryState& state = NwState(ctx);
  NwOperations& operations = state.operations;
  return BindSapLibrary(ctx, destination, state.sap, kNwLibrary,
                        [&operations](const SharedLibrary& library, std::string& missing) {
                          KELVORAN_NWRFC_OPERATIONS(KELVORAN_FIND_LOADED_OPERATION)
                        });
}

}  // namespace kelvoran
