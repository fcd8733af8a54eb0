// A library built for the other bitness than the probe's (a 64-bit one beside a 32-bit probe,
// and the other way round), in the place of SAP's.
extern "C" int OtherBitnessVersion() { return 1; }
