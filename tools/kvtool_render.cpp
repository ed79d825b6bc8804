// kvtool render and render-bench: frames of the real game scene through the in-memory backend.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game3d/mainloop.h"
#include "game3d/menus.h"
#include "game3d/settings.h"
#include "platform3d/faces.h"
#include "platform3d/picking.h"
#include "platform3d/surface.h"
#include "tools/kvtool.h"
#include "tools/kvtool_scene.h"

namespace {

constexpr int DefaultFrames = 300;
constexpr int MinFrames = 200;
constexpr int MaxFrames = 100000;

int RenderUsage(const std::string& message) {
  std::fprintf(stderr,
               "kvtool render: %s (usage: kvtool render <out.png> [--menu] [--side white|black] "
               "[--surroundings 0|1|2] [--board stone|wood] [--pieces wood|white] "
               "[--camera x,y,z,yaw,pitch] [--size N])\n",
               message.c_str());
  return 2;
}

int BenchUsage(const char* message) {
  std::fprintf(stderr,
               "kvtool render-bench: %s (usage: kvtool render-bench [--frames N] [--png FILE])\n",
               message);
  return 2;
}

}  // namespace

int RenderCommand(int argc, char** argv) {
  if (argc < 1 || argv[0][0] == '-') return RenderUsage("no output file");
  const char* out = argv[0];
  SceneOptions options;
  bool menu = false;
  int size = 0;  // 0: the whole frame
  for (int i = 1; i < argc; ++i) {
    const char* bad = nullptr;
    if (std::strcmp(argv[i], "--menu") == 0) {
      menu = true;
    } else if (std::strcmp(argv[i], "--size") == 0) {
      char* end = nullptr;
      const long n = i + 1 < argc ? std::strtol(argv[++i], &end, 10) : 0;
      if (end == nullptr || *end != '\0' || n < 1 || n > FrameHeight) {
        return RenderUsage("the size must be 1..600");
      }
      size = static_cast<int>(n);
    } else if (!ParseSceneOption(argc, argv, &i, &options, &bad)) {
      return RenderUsage(std::string("unknown argument ") + argv[i]);
    }
    if (bad != nullptr) return RenderUsage(std::string("bad value for ") + bad);
  }
  BuildToolScene(options);
  DrawGameFrame();
  if (menu) MenuFrame();
  const bool written = size > 0 ? WriteSquarePng(out, BackBuffer, size) : WritePng(out, BackBuffer);
  ReleaseToolScene();
  if (!written) {
    std::fprintf(stderr, "kvtool render: cannot write %s\n", out);
    return 1;
  }
  return 0;
}

int RenderBenchCommand(int argc, char** argv) {
  int frames = DefaultFrames;
  const char* pngPath = nullptr;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
      char* end = nullptr;
      const long n = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || n < MinFrames || n > MaxFrames) {
        return BenchUsage("frames must be 200..100000");
      }
      frames = static_cast<int>(n);
    } else if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) {
      pngPath = argv[++i];
    } else {
      return BenchUsage("unknown argument");
    }
  }

  // A full game frame: room, pieces, both clocks, the thinking panel and the move list.
  BuildToolScene(SceneOptions{});
  ShowThinking = 1;
  ShowMoveList = 1;
  std::vector<double> times(static_cast<size_t>(frames));
  for (double& t : times) {
    const auto start = std::chrono::steady_clock::now();
    DrawGameFrame();
    const auto stop = std::chrono::steady_clock::now();
    t = std::chrono::duration<double, std::milli>(stop - start).count();
  }
  std::printf("scene: %d faces in the world, %d selected, square under (400, 300): %d\n",
              static_cast<int>(std::count_if(FaceTable.Y1, FaceTable.Y1 + PipelineFaces,
                                             [](int16_t y) { return y != EmptyCoordinate; })),
              ViewCount + 1, HoverSquare);
  if (pngPath != nullptr && !WritePng(pngPath, BackBuffer)) {
    std::fprintf(stderr, "kvtool render-bench: cannot write %s\n", pngPath);
  }
  ReleaseToolScene();

  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2.0;
  std::printf("frames: %d, fastest %.3f ms, slowest %.3f ms\n", frames, times.front(),
              times.back());
  std::printf("%.3f ms/frame\n", median);
  return 0;
}
