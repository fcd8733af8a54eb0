// The floor of the benchmark: the cheapest C++ program that starts, prints a line and ends,
// linked statically like the probe.
#include <cstdio>

int main() {
  std::puts("Hello, world!");
  return 0;
}
