/// The UTF-8 byte order mark that Windows editors (Notepad among them) may put at the start of a
/// text file they save. Every text file the probe reads may begin with one: it is no part of the
/// file's first line.
#ifndef KELVORAN_PLATFORM_BYTE_ORDER_MARK_H
#define KELVORAN_PLATFORM_BYTE_ORDER_MARK_H

#include <cstdio>
#include <string_view>

namespace kelvoran {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

/// Reads past a byte order mark at the start of a file just opened for reading, so that the
/// next read begins with the file's first line; any other start is left to be read. True when
/// there was a mark.
bool SkipByteOrderMark(std::FILE* file);

/// `text` without a byte order mark at its start.
std::string_view WithoutByteOrderMark(std::string_view text);

}  // namespace kelvoran

#endif
