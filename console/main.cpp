// korvanewb: the xboard console engine.
#include <cstdio>
#include <cstring>

#include "console/loop.h"

namespace {

constexpr char Usage[] =
    "usage: korvanewb [--help] [--version]\n"
    "A chess engine for xboard, UCI chess programs and the terminal: it reads one command a\n"
    "line on standard input and answers on standard output.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Started without arguments it plays: xboard sends \"xboard\" first, a UCI program \"uci\"; at\n"
    "a terminal you have White, type moves as co-ordinates (e2e4), \"huh\" for the commands and\n"
    "\"quit\" to leave.\n";

}  // namespace

int main(int argc, char** argv) {
  // Interfaces start the engine without arguments; the options are for people.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(Usage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::puts("korvanewb (KorvaneWB) 1.42");
      return 0;
    }
    std::fprintf(stderr, "korvanewb: unknown argument '%s'\n%s", argv[i], Usage);
    return 2;
  }
  return RunConsole();
}
