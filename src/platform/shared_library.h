/// A shared library loaded while the program runs (SAP's RFC library), and where it is looked
/// for: in the folder of the running executable first, then where the system looks for a
/// program's libraries, never in the working directory, which is a sensor folder other accounts
/// may write to. The same holds for the libraries it needs in turn.
///
/// Windows: the first `<folder>\<file>` of the folders Windows searches for a program's DLLs,
/// the working directory left out: the executable's folder, the system folders, the absolute
/// folders of PATH. It is loaded by its full path, and its folder takes the working directory's
/// place in every later search of the process (SetDllDirectoryW), so that the DLLs it needs are
/// found beside it, in the system folders or on PATH.
/// Elsewhere: `<executable's folder>/<file>`, else `<file>` through the loader's path
/// (LD_LIBRARY_PATH, /etc/ld.so.conf.d, the system's library folders); while the loader looks,
/// the working directory is set aside, so that an empty or relative element of LD_LIBRARY_PATH
/// (":/opt/sap" names the working directory first) cannot reach it.
///
/// A library once loaded stays loaded until the process ends: it may have started threads of
/// its own.
#ifndef KELVORAN_PLATFORM_SHARED_LIBRARY_H
#define KELVORAN_PLATFORM_SHARED_LIBRARY_H

#include <string>

namespace kelvoran {

/// Why a library was not loaded.
enum class LoadFailure {
  None,
  /// Neither in the executable's folder nor anywhere the system looks.
  NotFound,
  /// A file that is no library for this program's bitness and system (a 64-bit DLL beside a
  /// 32-bit program, or no library at all).
  WrongKind,
  /// A library that it needs is missing; `detail` names it where the system does.
  NeededLibraryMissing,
  /// This account may not read it.
  NoAccess,
  /// Anything else; `detail` holds the system's words.
  Other,
};

struct LoadOutcome {
  LoadFailure failure = LoadFailure::None;
  /// The file the outcome is about: the full path of the library found (or loaded), or the
  /// bare file name when it was found nowhere.
  std::string path;
  /// See LoadFailure.
  std::string detail;
  /// NotFound: the executable's folder, which was searched first (empty when the system did
  /// not tell it).
  std::string executableFolder;
};

class SharedLibrary {
 public:
  /// The type an operation is found as; the caller converts it to the operation's own type.
  using Operation = void (*)();

  SharedLibrary() = default;
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  /// Loads the library `fileName` (a bare file name) as described above. On success the
  /// outcome's path names the file loaded.
  LoadOutcome Load(const std::string& fileName);

  bool Loaded() const { return handle_ != nullptr; }

  /// The operation the loaded library exports as `name`; null when it exports none so named.
  Operation Find(const char* name) const;

 private:
  void* handle_ = nullptr;
};

}  // namespace kelvoran

#endif
