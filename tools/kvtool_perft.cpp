// Placeholder until this subcommand is built.
#include <cstdio>

#include "tools/kvtool.h"

int PerftCommand(int, char**) {
  std::fprintf(stderr, "kvtool: not built yet\n");
  return 1;
}

