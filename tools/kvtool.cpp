// kvtool: a developer's command line over the engine and the renderer.
#include "tools/kvtool.h"

#include <cstdio>
#include <cstring>

namespace {

struct Subcommand {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* usage;
};

constexpr Subcommand Subcommands[] = {
    {"perft", PerftCommand, "perft \"<FEN>\" <depth> [--divide] [--as-opponent]"},
    {"eval", EvalCommand, "eval \"<FEN>\""},
    {"search", SearchCommand, "search \"<FEN>\" [--depth D] [--seconds S] [--seed N] [--trace]"},
    {"bench", BenchCommand, "bench [--3d | --trace]"},
    {"render", RenderCommand,
     "render <out.png> [--menu] [--side white|black] [--surroundings 0|1|2] [--board stone|wood] "
     "[--pieces wood|white] [--camera x,y,z,yaw,pitch] [--size N]"},
    {"render-bench", RenderBenchCommand, "render-bench [--frames N] [--png FILE]"},
};

void PrintHelp(FILE* out) {
  std::fprintf(out, "usage: kvtool <command> [arguments]\n");
  for (const Subcommand& command : Subcommands) std::fprintf(out, "  kvtool %s\n", command.usage);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0) {
    PrintHelp(stdout);
    return argc < 2 ? 2 : 0;
  }
  for (const Subcommand& command : Subcommands) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(argc - 2, argv + 2);
  }
  std::fprintf(stderr, "kvtool: unknown command '%s'\n", argv[1]);
  PrintHelp(stderr);
  return 2;
}
