// korvane3d: chess against the computer in a software-rendered 3D room.
#include <cstdio>
#include <cstring>

#include "game3d/gamefile.h"
#include "game3d/mainloop.h"
#include "platform3d/platform.h"

namespace {

constexpr char Usage[] =
    "usage: korvane3d [--window] [FILE.pgn]\n"
    "       korvane3d --help | --version\n"
    "Play chess against the computer in a 3D room.\n"
    "\n"
    "  FILE.pgn   go on with the first game of this PGN file\n"
    "  --window   play in an 800x600 window (it can be resized) instead of full screen\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Left button: pick a piece, then its square. Right button or Space with the mouse: look\n"
    "around. Arrow keys: fly. Home: back to your seat. Escape: the menus (new game, settings,\n"
    "loading and saving PGN files, quit). The settings are kept in\n"
    "$XDG_CONFIG_HOME/korvane/korvane3d.conf and an unfinished game in\n"
    "$XDG_STATE_HOME/korvane/last-game.pgn (~/.config and ~/.local/state when unset). The\n"
    "data files (*.kvm) are read from KORVANE_DATA when it is set, else from the current\n"
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
    } else if (argv[i][0] != '-' && StartupGameFile.empty()) {
      StartupGameFile = argv[i];
    } else if (argv[i][0] != '-') {
      std::fprintf(stderr, "korvane3d: one game file at a time, not also '%s'\n%s", argv[i], Usage);
      return 2;
    } else {
      std::fprintf(stderr, "korvane3d: unknown option '%s'\n%s", argv[i], Usage);
      return 2;
    }
  }
  return RunKorvane3d();
}
