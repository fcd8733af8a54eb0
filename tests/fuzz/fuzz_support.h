// What the fuzz harnesses share: the probe run in-process as a monitor starts it, over files
// laid out in memory and the simulated RFC library, and the check of what a host relies on.
//
// A harness puts the fuzzed text into the one file or argument its reader reads, takes the
// rest from the demo folder, runs the probe and calls CheckRun. A broken rule ends the process
// with abort(), which libFuzzer reports as a finding with the input that caused it.
#ifndef KELVORAN_TESTS_FUZZ_FUZZ_SUPPORT_H
#define KELVORAN_TESTS_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "driver/program.h"
#include "output/host_flavour.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "run_context.h"
#include "simrfc_control.h"
#include "support/memory_file_system.h"
#include "support/xml_check.h"

#ifndef KELVORAN_FUZZ_DEMO_DIR
#error "KELVORAN_FUZZ_DEMO_DIR must name the demo folder"
#endif

namespace kelvoran::fuzz {

/// Ends the process as a finding: what rule was broken, and the text that broke it.
[[noreturn]] inline void Violation(std::string_view rule, std::string_view detail) {
  std::fprintf(stderr, "\n*** contract broken: %.*s\n--- text:\n%.*s\n---\n",
               static_cast<int>(rule.size()), rule.data(), static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

/// A file of the demo folder; empty when it cannot be read.
inline std::string DemoFile(const std::string& name) {
  std::ifstream in(std::string(KELVORAN_FUZZ_DEMO_DIR) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

/// The demo folder as the probe's working directory (the landscape stays with the library).
inline void AddDemoFolder(MemoryFileSystem& files, const std::string& directory = "") {
  for (const char* name : {"PRD.P00", "QAS.P00", "DEV.P00", "ORA.P00", "OLD.P00", "LIB.P00",
                           "TST.P00", "SapRfc.QAS", "SAP Almandor.Gbl", "Almandor.Prf"}) {
    files.Add(directory + name, DemoFile(name));
  }
}

/// `text` with the lines of the keys that would stop the fuzzing made comments: FAIL_HANDLER
/// (the library's failure report ends the process on the spot, exit status 1, no document) and
/// the waits of slow and silent systems (DELAY_OPEN, DELAY_CALL, DELAY_RECEIVE, HANG).
inline std::string Disarmed(std::string text) {
  static const char* const kKeys[] = {"FAIL_HANDLER", "DELAY_OPEN", "DELAY_CALL",
                                      "DELAY_RECEIVE", "HANG"};
  std::size_t line = 0;
  while (line < text.size()) {
    std::size_t end = text.find('\n', line);
    if (end == std::string::npos) end = text.size();
    std::size_t at = line;
    while (at < end && (text[at] == ' ' || text[at] == '\t')) ++at;
    const std::size_t equals = text.find('=', at);
    if (equals < end) {
      std::string key = text.substr(at, equals - at);
      while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.pop_back();
      for (char& c : key) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      }
      for (const char* armed : kKeys) {
        if (key == armed) text[at] = '#';
      }
    }
    line = end + 1;
  }
  return text;
}

inline void RemoveLibraryDirectory();

/// The library's working directory, private to this process. Each run empties it; the
/// directory itself goes when the harness ends.
inline const std::string& LibraryDirectory() {
  static const std::string directory = [] {
    char pattern[] = "/tmp/kelvoran-fuzz-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) Violation("harness set-up", "no temporary directory");
    return std::string(made);
  }();
  // Registered once the name is made, so that it is removed before the name is destroyed.
  static const bool removedAtExit = std::atexit(RemoveLibraryDirectory) == 0;
  (void)removedAtExit;
  return directory;
}

inline void RemoveLibraryDirectory() { rmdir(LibraryDirectory().c_str()); }

/// The files of a run: in memory, except "SapRfc.ini" and its temporary file, which the probe
/// writes for the library to read, in the library's directory.
class FuzzFileSystem : public MemoryFileSystem {
 public:
  FilePtr Open(const std::string& path, const char* mode) override {
    return Shared(path) ? disk_.Open(OnDisk(path), mode) : MemoryFileSystem::Open(path, mode);
  }
  bool Remove(const std::string& path) override {
    return Shared(path) ? disk_.Remove(OnDisk(path)) : MemoryFileSystem::Remove(path);
  }
  bool Rename(const std::string& from, const std::string& to) override {
    if (Shared(from) != Shared(to)) return false;
    return Shared(from) ? disk_.Rename(OnDisk(from), OnDisk(to))
                        : MemoryFileSystem::Rename(from, to);
  }
  bool SameFile(const std::string& a, const std::string& b) override {
    if (Shared(a) != Shared(b)) return false;
    return Shared(a) ? disk_.SameFile(OnDisk(a), OnDisk(b)) : MemoryFileSystem::SameFile(a, b);
  }

 private:
  // "SapRfc.ini" and the temporary file it is written to ("Kelvoran.<process>.tmp").
  static bool Shared(const std::string& path) {
    const std::string_view name = path;
    return name == "SapRfc.ini" ||
           (name.size() > 13 && name.substr(0, 9) == "Kelvoran." &&
            name.substr(name.size() - 4) == ".tmp" && name.find_first_of("/\\") == name.npos);
  }
  static std::string OnDisk(const std::string& path) { return LibraryDirectory() + "/" + path; }

  DiskFileSystem disk_;
};

/// The flavours, so that a harness can pick one with a byte of its input.
inline constexpr const char* kFlavourNames[] = {"EXEXML", "Quellon", "Vistrel", "Brennick",
                                                "Tolvane"};

/// What a run of the probe left.
struct RunResult {
  std::string out, err;
  int status = -1;
  HostFlavour flavour = HostFlavour::ExeXml;
  bool verbose = false;
  bool help = false;
};

/// Runs the probe with `args` (the arguments after the program name) over `files`, with the
/// simulated library answering from `landscape`. The library works in `LibraryDirectory()`
/// (emptied after each run), never in the working directory.
inline RunResult RunProbe(MemoryFileSystem& files, const std::vector<std::string>& args,
                          const std::string& landscape) {
  const std::string& directory = LibraryDirectory();
  SimRfcReset();
  SimRfcSetDirectory(directory.c_str());
  std::tm fixed{};
  fixed.tm_year = 124;
  fixed.tm_mon = 9;
  fixed.tm_mday = 7;
  fixed.tm_hour = 6;
  fixed.tm_min = 15;
  SimRfcFixLocalTime(fixed);
  // Only landscapes that read without fault come here: all systems must be reachable.
  if (!SimRfcLoadLandscapeText(Disarmed(landscape).c_str())) {
    Violation("harness set-up: the landscape is refused", landscape);
  }

  // An argument ends at its first NUL, as on a real command line.
  std::vector<std::string> arguments{"kelvoran"};
  for (const std::string& arg : args) arguments.push_back(arg.substr(0, arg.find('\0')));
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  argv.push_back(nullptr);

  CapturedConsole console;
  FixedClock clock("06:15:00");
  RunResult result;
  {
    RunContext ctx(console, files, clock);
    result.status = RunProgram(ctx, static_cast<int>(arguments.size()), argv.data());
    result.flavour = ctx.hostFlavour;
    result.verbose = ctx.verboseMode;
  }
  SimRfcReset();
  // Empties the library's directory for the next run.
  for (const std::string& name : {std::string("/Dev_Rfc.Trc"), std::string("/SapRfc.ini"),
                                  "/Kelvoran." + std::to_string(getpid()) + ".tmp"}) {
    std::remove((directory + name).c_str());
  }
  result.out = console.Text();
  result.err = console.ErrorText();
  // To see what a harness runs: KELVORAN_FUZZ_SHOW=1 ./NAME_fuzzer INPUT
  if (std::getenv("KELVORAN_FUZZ_SHOW") != nullptr) {
    std::fprintf(stderr, "--- run with %zu arguments, exit status %d:\n%s---\n", args.size(),
                 result.status, result.out.c_str());
  }
  result.help = arguments.size() >= 2 && (arguments[1] == "--help" || arguments[1] == "-h" ||
                                          arguments[1] == "--version");
  return result;
}

/// A text flavour's document as its host reads it, in its own code page: every byte from 0x80
/// up is a character (here 'x', so that the UTF-8 check of the XML flavours passes it).
inline std::string InHostCodePage(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) c = 'x';
  }
  return text;
}

/// The rules a host relies on: the run ends with exit status 0 or 2 (1, the library's failure
/// report, ends the process and is disarmed here); without console lines an XML flavour's
/// standard output is one well-formed XML document in UTF-8; the error document of a text
/// flavour is well-formed as well, in the host's own code page (its bytes from 0x80 up are
/// taken as characters, whatever they are).
inline void CheckRun(const RunResult& run) {
  if (run.status != 0 && run.status != 2) {
    Violation("exit status " + std::to_string(run.status), run.out);
  }
  if (run.help || run.verbose) return;
  if (IsXmlFlavour(run.flavour)) {
    const std::string error = XmlWellFormednessError(run.out);
    if (!error.empty()) Violation("not well-formed XML: " + error, run.out);
  } else if (run.status == 2) {
    const std::size_t at = run.out.find("<Prtg>");
    if (at == std::string::npos) Violation("text flavour: no error document", run.out);
    const std::string error = XmlWellFormednessError(InHostCodePage(run.out.substr(at)));
    if (!error.empty()) Violation("error document not well-formed: " + error, run.out);
  }
}

/// `data` as a text.
inline std::string Text(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

/// The lines of `text` (split at line feeds), at most `limit` of them; the last takes the rest.
inline std::vector<std::string> Lines(std::string_view text, std::size_t limit) {
  std::vector<std::string> lines;
  while (!text.empty() && lines.size() + 1 < limit) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) break;
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  if (!text.empty()) lines.emplace_back(text);
  return lines;
}

}  // namespace kelvoran::fuzz

#endif
