/// Standard output, where the document, console lines and the failure report go.
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
  void Write(std::string_view text) override { text_.append(text); }
  void Flush() override {}
  const std::string& Text() const { return text_; }
  void Clear() { text_.clear(); }

 private:
  std::string text_;
};

}  // namespace kelvoran

#endif
