/// What passes through the pipes between a global run with "PARALLEL=n" and the probes it
/// starts, one per system (see docs/parallel-runs.md).
///
/// Both directions carry records: one upper-case letter (the record's kind), its length in
/// decimal (1 to 7 digits, no sign, no leading zero), ':', that many bytes of payload (any
/// bytes) and '\n'. Example: the standard output text "<Prtg>" is the record O6:<Prtg>\n.
///
/// The request (parent to child), each kind once, in any order, then E:
///   I parent's process id   D profile directory   S system entry (profile file name)
///   P option text           F host flavour name   V verbose mode, "0" or "1"
///   G ",DETAIL" in force for the global run, "0" or "1"                         E (empty) end
/// The report (child to parent), in the order of events; its result is R or X:
///   A operation entered     N destination measured (both for the parent's deadline)
///   L the system's console line (after its profile was read)
///   O text for standard output   W text for standard error
///   T milliseconds the measurement took   M message of a failed system check (",DETAIL")
///   R verdict: "Processed", "Not Found", "Rfc Failure", or "None" (profile cannot be opened)
///   X fatal message: the run ends with it as the sequential run would
/// After X the child closes its connection and ends, and only A, N, O and W may follow: the
/// step it is in, and what closing printed (the RFC library's failure report). Nothing follows
/// R, which comes after the connection is closed. A child that ends without R or X has either
/// printed the RFC library's failure report in its O records (exit status 1) or died; the
/// parent judges it from its exit status.
#ifndef KELVORAN_DRIVER_SYSTEM_PIPE_H
#define KELVORAN_DRIVER_SYSTEM_PIPE_H

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "output/host_flavour.h"

namespace kelvoran {

/// Longest payload of one record.
inline constexpr std::size_t kLongestRecord = 1000000;
/// Most bytes a report or request may have in all.
inline constexpr std::size_t kLongestStream = 4000000;

struct PipeRecord {
  char kind = 0;
  std::string payload;
};

/// One record as bytes.
std::string FormatRecord(char kind, std::string_view payload);

/// Splits a stream of records as it arrives in pieces.
class RecordReader {
 public:
  /// Takes the next bytes of the stream. False once the stream breaks the format or grows
  /// beyond kLongestStream; the reader stays broken then and takes nothing more.
  bool Feed(std::string_view bytes);
  /// The next whole record, if one has arrived.
  std::optional<PipeRecord> Next();
  bool Broken() const { return broken_; }
  /// Bytes of an unfinished record are held.
  bool Partial() const { return !pending_.empty(); }

 private:
  std::string pending_;
  std::deque<PipeRecord> records_;
  std::size_t total_ = 0;
  bool broken_ = false;
};

/// What a child is asked to measure.
struct SystemRequest {
  unsigned long parentId = 0;
  std::string profileDirectory;
  std::string systemEntry;
  std::string parameterText;
  HostFlavour flavour = HostFlavour::ExeXml;
  bool verbose = false;
  bool detail = false;
};

std::string FormatRequest(const SystemRequest& request);

/// Collects a request record by record.
class RequestReader {
 public:
  /// Takes bytes; false when they break the request (a malformed record, an unknown or
  /// repeated kind, a bad value, anything after E).
  bool Feed(std::string_view bytes);
  /// The request once E has arrived with every other kind before it.
  std::optional<SystemRequest> Complete() const;

 private:
  RecordReader records_;
  SystemRequest request_;
  unsigned seen_ = 0;
  bool ended_ = false;
  bool broken_ = false;
};

/// Standard output ('O') and standard error ('W') pieces, in the order they were written.
using PrintedPieces = std::vector<std::pair<char, std::string>>;

/// A system's outcome as its child reported it.
struct SystemReport {
  /// What the child printed before its result, and after it (closing after a fatal ending).
  PrintedPieces printed;
  PrintedPieces printedAfterResult;
  std::optional<std::string> consoleLine;
  /// The last operation and destination entered ('A', 'N').
  std::string operation;
  std::string destination;
  /// T: how long the measurement took; M: a failed system check's message (",DETAIL").
  std::optional<unsigned long> milliseconds;
  std::optional<std::string> message;
  /// R: one of the four verdict texts; X: the fatal message. Neither: no result.
  std::optional<std::string> verdict;
  std::optional<std::string> fatal;
  /// The report broke the format, or went on after its result with more than A, N, O or W.
  bool broken = false;
};

/// The verdict of a system whose profile could not be opened.
inline constexpr const char* kNoVerdict = "None";

/// Collects a report record by record.
class ReportReader {
 public:
  /// Takes bytes; false when the report is broken (see SystemReport::broken).
  bool Feed(std::string_view bytes);
  const SystemReport& Report() const { return report_; }
  /// A result (R or X) has arrived.
  bool Ended() const { return report_.verdict || report_.fatal; }

 private:
  RecordReader records_;
  SystemReport report_;
};

}  // namespace kelvoran

#endif
