/// The 8-bit code page of the probe's texts on this host: what SAP's classic library delivers
/// SAP's texts in, and what the probe turns the NW RFC library's UTF-16 texts into.
#ifndef KELVORAN_PLATFORM_CODE_PAGE_H
#define KELVORAN_PLATFORM_CODE_PAGE_H

namespace kelvoran {

enum class CodePage {
  Windows1252,  // Windows
  Latin1,       // elsewhere
};

CodePage HostCodePage();

}  // namespace kelvoran

#endif
