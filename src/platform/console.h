/// Standard output, where the document, console lines and the failure report go, and standard
/// error, for the few lines that must not mix into a document the host parses.
///
/// Abstract so that tests can capture exactly what a run prints.
#ifndef KELVORAN_PLATFORM_CONSOLE_H
#define KELVORAN_PLATFORM_CONSOLE_H

#include <memory>
#include <string>
#include <string_view>

namespace kelvoran {

/// Keeps standard output whole when a second thread (the run's deadline) may print too: every
/// Write holds it, and whoever must print and note what was printed, or print several pieces
/// with nothing in between, holds it around them. The holder may take it again.
class PrintLock {
 public:
  PrintLock();
  ~PrintLock();
  PrintLock(const PrintLock&) = delete;
  PrintLock& operator=(const PrintLock&) = delete;
  void Lock();
  void Unlock();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

/// Holds a PrintLock for as long as it lives.
class PrintGuard {
 public:
  explicit PrintGuard(PrintLock& lock) : lock_(lock) { lock_.Lock(); }
  ~PrintGuard() { lock_.Unlock(); }
  PrintGuard(const PrintGuard&) = delete;
  PrintGuard& operator=(const PrintGuard&) = delete;

 private:
  PrintLock& lock_;
};

class Console {
 public:
  virtual ~Console() = default;
  virtual void Write(std::string_view text) = 0;
  virtual void Flush() = 0;
  /// Writes `text` to standard error at once (unbuffered, byte for byte), holding the lock.
  virtual void WriteError(std::string_view text);
  /// The lock every Write and Flush of this console holds.
  PrintLock& Lock() { return lock_; }

 private:
  PrintLock lock_;
};

/// The process's standard output, as the C runtime writes it: in text mode, so that on Windows
/// every line feed reaches the host as CR LF, as hosts of a Windows console program expect.
class StandardOutput : public Console {
 public:
  void Write(std::string_view text) override;
  void Flush() override;
};

/// Collects everything written, for tests.
class CapturedConsole : public Console {
 public:
  void Write(std::string_view text) override {
    PrintGuard guard(Lock());
    text_.append(text);
  }
  void Flush() override {}
  void WriteError(std::string_view text) override {
    PrintGuard guard(Lock());
    errorText_.append(text);
  }
  const std::string& Text() const { return text_; }
  /// What went to standard error.
  const std::string& ErrorText() const { return errorText_; }
  void Clear() {
    text_.clear();
    errorText_.clear();
  }

 private:
  std::string text_;
  std::string errorText_;
};

}  // namespace kelvoran

#endif
