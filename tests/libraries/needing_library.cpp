// A library in the place of SAP's that needs another (needed_library.cpp), which is missing
// where the probe runs it.
extern "C" int SapUnicodeVersion();

extern "C" int NeedingLibraryVersion() { return SapUnicodeVersion(); }
