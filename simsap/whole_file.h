/// Reading a small file of the simulated landscape (the landscape itself, a file of
/// destinations) in one piece.
#ifndef KELVORAN_SIMSAP_WHOLE_FILE_H
#define KELVORAN_SIMSAP_WHOLE_FILE_H

#include <string>

namespace simsap {

/// Reads the file at `path` into `text`; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& text);

}  // namespace simsap

#endif
