/// The trace file "Dev_Rfc.Trc": the library appends an entry for every failure, in the shape
/// of SAP's traces. A process's first entry opens with "**** ERROR file opened at <date time>";
/// then come "ERROR       " lines with the details and, last, the message on a line with
/// "======> " after a 7-character prefix, which is the line a reader takes as the telling one.
#ifndef KELVORAN_SIMRFC_TRACE_FILE_H
#define KELVORAN_SIMRFC_TRACE_FILE_H

#include <ctime>
#include <string>

#include "library_error.h"
#include "sap_declarations.h"

namespace simrfc {

inline constexpr const char* kTraceFileName = "Dev_Rfc.Trc";

/// The text of one entry about `error` in `operation` on connection `handle` (0: none), with the
/// opening line first when `opening` is set. Passwords never reach an error, so never the file.
std::string FormatTraceEntry(bool opening, const std::tm& now, const char* operation,
                             RFC_HANDLE handle, const LibraryError& error);

class TraceFile {
 public:
  /// Appends an entry to the file at `path`; a file that cannot be written is left alone
  /// (the library prints nothing, ever).
  void Append(const std::string& path, const std::tm& now, const char* operation, RFC_HANDLE handle,
              const LibraryError& error);

 private:
  bool opened_ = false;
};

}  // namespace simrfc

#endif
