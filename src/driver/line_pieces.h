/// Reading text files the way the probe's fixed line buffers take them.
#ifndef KELVORAN_DRIVER_LINE_PIECES_H
#define KELVORAN_DRIVER_LINE_PIECES_H

#include <cstddef>
#include <cstdio>
#include <string>

namespace kelvoran {

/// Reads the next piece of a line into `piece`: at most `bufferSize` - 1 characters, ending
/// after a line feed if one comes first, so the rest of a longer line arrives as further
/// pieces. One trailing line feed, then one trailing carriage return, is removed, so LF and
/// CR LF line ends read the same whether or not the C library translates them. A NUL byte ends
/// the piece's text, as it ends a C string. False at the end of the file.
bool ReadLinePiece(std::FILE* file, std::size_t bufferSize, std::string& piece);

}  // namespace kelvoran

#endif
