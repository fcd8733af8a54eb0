/// Standard output, where the document, console lines and the failure report go, and standard
/// error, for the few lines that must not mix into a document the host parses.
///
/// Abstract so that tests can capture exactly what a run prints.
#ifndef KELVORAN_PLATFORM_CONSOLE_H
#define KELVORAN_PLATFORM_CONSOLE_H

#include <string>
#include <string_view>

namespace kelvoran {

class Console {
 public:
  virtual ~Console() = default;
  virtual void Write(std::string_view text) = 0;
  virtual void Flush() = 0;
  /// Writes `text` to standard error at once (unbuffered, byte for byte).
  virtual void WriteError(std::string_view text);
};

/// The process's standard output, written byte for byte (binary mode on Windows, so that a
/// line feed stays a line feed).
class StandardOutput : public Console {
 public:
  StandardOutput();
  void Write(std::string_view text) override;
  void Flush() override;
};

/// Collects everything written, for tests.
class CapturedConsole : public Console {
 public:
  void Write(std::string_view text) override { text_.append(text); }
  void Flush() override {}
  void WriteError(std::string_view text) override { errorText_.append(text); }
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
