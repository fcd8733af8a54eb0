// Stands for a library that SAP's library needs (SAP's libsapucum): built apart, never put
// where the probe looks, so that the library that needs it cannot be loaded.
extern "C" int SapUnicodeVersion() { return 1; }
