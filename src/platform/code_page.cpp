#include "platform/code_page.h"

namespace kelvoran {

CodePage HostCodePage() {
#if defined(_WIN32)
  return CodePage::Windows1252;
#else
  return CodePage::Latin1;
#endif
}

}  // namespace kelvoran
