// SAP's library as the probe finds it, or plainly does not: a copy of the probe in a folder of
// its own, with one library beside it or none, run in a sensor folder holding the demo systems.
// Only for the builds that load the library while they run (Windows; the NW RFC SDK on Linux).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/probe_fixture.h"

namespace kelvoran {
namespace {

namespace fs = std::filesystem;

// The file the probe loads; empty where the library is linked in.
const std::string kLibrary = KELVORAN_TEST_RFC_LIBRARY_FILE;

#ifdef _WIN32
const std::string kSystemSearch = "the system folders or PATH";
const std::string kSystemName = "Windows";
const std::string kSeparator = "\\";
#else
const std::string kSeparator = "/";
const std::string kSystemSearch = "the loader's path (LD_LIBRARY_PATH, /etc/ld.so.conf.d)";
const std::string kSystemName = "Linux";
#endif

// The operation the test build of the simulated library lacks.
std::string LackedOperation() { return ProbeUsesClassicLibrary() ? "ItDelete" : "RfcGetString"; }

fs::path BuildFolder() { return fs::path(ProbePath()).parent_path(); }

// One of the libraries built for these tests (CMakeLists.txt): "lacking-operation",
// "needs-library", "other-bitness".
fs::path TestLibrary(const char* kind) { return BuildFolder() / "test-libraries" / kind / kLibrary; }

fs::path SimulatedLibrary() { return BuildFolder() / kLibrary; }

// A path as the probe names it: Linux tells the executable's path with its links resolved;
// Windows as it was started.
std::string AsNamed(const fs::path& path) {
#ifdef _WIN32
  return path.string();
#else
  return fs::canonical(path).string();
#endif
}

std::string NotLoaded(const std::string& reason) {
  return "Error 1036: SAP library " + kLibrary + " not loaded: " + reason + " !";
}

// The system's search path with `folder` after what the clean environment names.
std::string SearchPathWith(const fs::path& folder) {
#ifdef _WIN32
  const char* root = std::getenv("SystemRoot");
  return "PATH=" + std::string(root != nullptr ? root : "C:\\windows") + "\\system32;" +
         folder.string();
#else
  // The empty element first: glibc reads it as the working directory.
  return "LD_LIBRARY_PATH=:" + folder.string();
#endif
}

class LibraryLoadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (kLibrary.empty()) GTEST_SKIP() << "this build has the simulated library linked in";
    for (const auto& entry : fs::directory_iterator(fs::path(KELVORAN_TEST_SOURCE_DIR) / "demo")) {
      fs::copy_file(entry.path(), sensor_.Path() / entry.path().filename());
    }
    probe_ = folder_.Path() / fs::path(ProbePath()).filename();
    fs::copy_file(ProbePath(), probe_);
  }

  void PutBesideProbe(const fs::path& library) const {
    fs::copy_file(library, folder_.Path() / kLibrary);
  }

  // The probe's folder and a file in it, as the probe names them.
  std::string ProbeFolder() const { return AsNamed(folder_.Path()); }
  std::string BesideProbe() const { return AsNamed(folder_.Path()) + kSeparator + kLibrary; }

  ProcessResult Run(const std::vector<std::string>& args,
                    const std::vector<std::string>& environment = {}) const {
    return RunProcess(probe_.string(), args, sensor_.Path(), "", environment);
  }

  // What the probe built beside the simulated library prints in the sensor folder.
  ProcessResult Measured(const std::vector<std::string>& args) const {
    return RunProcess(ProbePath(), args, sensor_.Path());
  }

  TempDir sensor_;
  TempDir folder_;
  fs::path probe_;
};

TEST_F(LibraryLoadingTest, EachLibraryBesideTheProbeGivesItsDocument) {
  struct Case {
    const char* label;
    fs::path library;  // empty: none
    std::vector<std::string> args;
    std::string message;  // empty: measured as by the probe built beside the simulated library
  } cases[] = {
      {"no library", {}, {"PRD"},
       NotLoaded("not found in the probe's folder " + ProbeFolder() + ", nor in " +
                 kSystemSearch)},
      // The same error document in every flavour, the text flavours included.
      {"no library, Tolvane host", {}, {"PRD", "FLAVOUR=Tolvane"},
       NotLoaded("not found in the probe's folder " + ProbeFolder() + ", nor in " +
                 kSystemSearch)},
      {"a library of the other bitness", TestLibrary("other-bitness"), {"PRD"},
       NotLoaded(BesideProbe() + " is not a " + std::to_string(sizeof(void*) * 8) + "-bit " +
                 kSystemName + " library")},
      {"a library lacking an operation", TestLibrary("lacking-operation"), {"PRD"},
       NotLoaded(BesideProbe() + " lacks the operation " + LackedOperation())},
#ifdef _WIN32
      {"a library whose own library is missing", TestLibrary("needs-library"), {"PRD"},
       NotLoaded(BesideProbe() + " needs a DLL that is neither beside it nor in " +
                 kSystemSearch +
                 (ProbeUsesClassicLibrary()
                      ? ""
                      : " (SAP's NW RFC SDK: libsapucum.dll and the ICU DLLs of its lib folder "
                        "beside it, and Microsoft's Visual C++ 2013 runtime (x64) installed)"))},
#else
      {"a library whose own library is missing", TestLibrary("needs-library"), {"PRD"},
       NotLoaded(BesideProbe() + " needs libsapucum.so, which is not in " + kSystemSearch +
                 " (SAP's NW RFC SDK: libsapucum.so and the ICU libraries of its lib folder)")},
#endif
      {"the simulated library", SimulatedLibrary(), {"PRD"}, ""},
      {"the simulated library, a system failing its check", SimulatedLibrary(), {"DEV"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove(folder_.Path() / kLibrary);
    if (!c.library.empty()) PutBesideProbe(c.library);
    const ProcessResult result = Run(c.args);
    if (c.message.empty()) {
      const ProcessResult measured = Measured(c.args);
      EXPECT_EQ(result.out, measured.out);
      EXPECT_EQ(result.status, measured.status);
    } else {
      EXPECT_EQ(result.out, OnConsole(ErrorDocument(c.message)));
      EXPECT_EQ(result.status, 2);
    }
  }
}

// A global run ends with the message like at its other fatal endings, the envelope it opened
// completed; measured in turn or side by side.
TEST_F(LibraryLoadingTest, GlobalRunEndsAtTheFirstSystem) {
  const std::string message =
      NotLoaded("not found in the probe's folder " + ProbeFolder() + ", nor in " + kSystemSearch);
  for (const char* parallel : {"", "PARALLEL=2"}) {
    SCOPED_TRACE(parallel);
    const ProcessResult result = Run({"GLOBAL", std::string("DEMO ") + parallel});
    EXPECT_EQ(result.out, OnConsole("\n<Prtg>\n\n" + ErrorDocumentRest(message)));
    EXPECT_EQ(result.status, 2);
  }
}

TEST_F(LibraryLoadingTest, VersionAndProfileToolNeedNoLibrary) {
  const ProcessResult version = Run({"--version"});
  EXPECT_EQ(version.out, OnConsole("Kelvoran Vers 4.3 / 29.08.22\n"));
  EXPECT_EQ(version.status, 0);

  const fs::path tool = folder_.Path() / fs::path(ProfileToolPath()).filename();
  fs::copy_file(ProfileToolPath(), tool);
  const ProcessResult check = RunProcess(tool.string(), {"check", "PRD.P00"}, sensor_.Path());
  const ProcessResult built = RunProcess(ProfileToolPath(), {"check", "PRD.P00"}, sensor_.Path());
  EXPECT_EQ(check.out, built.out);
  EXPECT_NE(check.out.find(OnConsole("OK\n")), std::string::npos);
  EXPECT_EQ(check.status, 0);
}

// The working directory is a sensor folder other accounts may write to: a library there is
// never loaded, neither in place of the one beside the probe nor before the one the system's
// search finds (where an empty element of LD_LIBRARY_PATH, or Windows' own search order, would
// name the working directory first).
TEST_F(LibraryLoadingTest, WorkingDirectoryIsNeverSearched) {
  fs::copy_file(TestLibrary("lacking-operation"), sensor_.Path() / kLibrary);
  const ProcessResult measured = Measured({"PRD"});
  ASSERT_EQ(measured.status, 0);

  PutBesideProbe(SimulatedLibrary());
  ProcessResult result = Run({"PRD"});
  EXPECT_EQ(result.out, measured.out) << "beside the probe";
  EXPECT_EQ(result.status, 0);

  fs::remove(folder_.Path() / kLibrary);
  result = Run({"PRD"}, {SearchPathWith(BuildFolder())});
  EXPECT_EQ(result.out, measured.out) << "through the system's search";
  EXPECT_EQ(result.status, 0);
}

// The system's search finds a library where the operator put it: this build of the simulated
// library is the one the probe takes, and the message names the file it found.
TEST_F(LibraryLoadingTest, SystemSearchFindsTheLibrary) {
  const fs::path lacking = TestLibrary("lacking-operation");
  const ProcessResult result = Run({"PRD"}, {SearchPathWith(lacking.parent_path())});
  EXPECT_EQ(result.out, OnConsole(ErrorDocument(NotLoaded(
                            AsNamed(lacking) + " lacks the operation " +
                            LackedOperation()))));
  EXPECT_EQ(result.status, 2);
}

}  // namespace
}  // namespace kelvoran
