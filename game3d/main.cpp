// korvane3d: chess against the computer in a software-rendered 3D room.
#include <cstdio>
#include <cstring>

#include "game3d/mainloop.h"
#include "platform3d/platform.h"

namespace {

constexpr char Usage[] =
    "usage: korvane3d [--window] [--help] [--version]\n"
    "Play chess against the computer in a 3D room.\n"
    "\n"
    "  --window   play in an 800x600 window (it can be resized) instead of full screen\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Left button: pick a piece, then its square. Right button or Space with the mouse: look\n"
    "around. Arrow keys: fly. Escape: the menus (new game, settings, saving as PGN, quit).\n"
    "The data files (*.kvm) are read from KORVANE_DATA when it is set, else from the current\n"
    "directory, the program's folder, or ../share/korvane beside it.\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(Usage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::puts("korvane3d (Korvane 3D) 1.0");
      return 0;
    }
    if (std::strcmp(argv[i], "--window") == 0) {
      WindowedDisplay = 1;
    } else {
      std::fprintf(stderr, "korvane3d: unknown option '%s'\n%s", argv[i], Usage);
      return 2;
    }
  }
  return RunKorvane3d();
}
