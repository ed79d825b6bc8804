// kvtool render-bench [--frames N] [--ppm FILE]: renders full game frames of a synthetic scene
// (board, room, 32 pieces; about 2,500 faces) through the in-memory backend, doing per frame
// what the main loop does, and prints the median frame time. --ppm writes the last frame.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform3d/faces.h"
#include "platform3d/palette.h"
#include "platform3d/picking.h"
#include "platform3d/platform.h"
#include "platform3d/render.h"
#include "platform3d/spans.h"
#include "platform3d/surface.h"
#include "platform3d/testscene.h"
#include "platform3d/transform.h"
#include "platform3d/trig.h"
#include "tools/kvtool.h"

namespace {

constexpr int DefaultFrames = 300;
constexpr int MinFrames = 200;
constexpr int MaxFrames = 100000;

int Usage(const char* message) {
  std::fprintf(stderr,
               "kvtool render-bench: %s (usage: kvtool render-bench [--frames N] [--ppm FILE])\n",
               message);
  return 2;
}

// 5-6-5 frame as a binary PPM, each level widened to 8 bits.
bool WritePpm(const char* path, const Surface& frame) {
  FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  std::fprintf(file, "P6\n%d %d\n255\n", frame.width, frame.height);
  std::vector<unsigned char> row(static_cast<size_t>(frame.width) * 3);
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      const uint16_t p = frame.pixels[y * frame.width + x];
      row[3 * x] = static_cast<unsigned char>(((p >> 11) & 31) * 255 / 31);
      row[3 * x + 1] = static_cast<unsigned char>(((p >> 5) & 63) * 255 / 63);
      row[3 * x + 2] = static_cast<unsigned char>((p & 31) * 255 / 31);
    }
    std::fwrite(row.data(), 1, row.size(), file);
  }
  return std::fclose(file) == 0;
}

void RenderFrame() {
  ClearBackBuffer(0);
  HoverSquare = NoHoverSquare;
  PlaceTestCamera();
  SelectFaces();
  RotateFaces();
  RenderScene();
}

}  // namespace

int RenderBenchCommand(int argc, char** argv) {
  int frames = DefaultFrames;
  const char* ppmPath = nullptr;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
      char* end = nullptr;
      const long n = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || n < MinFrames || n > MaxFrames)
        return Usage("frames must be 200..100000");
      frames = static_cast<int>(n);
    } else if (std::strcmp(argv[i], "--ppm") == 0 && i + 1 < argc) {
      ppmPath = argv[++i];
    } else {
      return Usage("unknown argument");
    }
  }

  BuildTrigTables();
  BuildPalette();
  AllocSurface(&BackBuffer, FrameWidth, FrameHeight, true);
  const int faces = BuildTestScene();
  MouseX = 400;
  MouseY = 300;

  std::vector<double> times(static_cast<size_t>(frames));
  for (double& t : times) {
    const auto start = std::chrono::steady_clock::now();
    RenderFrame();
    const auto stop = std::chrono::steady_clock::now();
    t = std::chrono::duration<double, std::milli>(stop - start).count();
  }
  std::printf("scene: %d faces, %d selected, square under (400, 300): %d\n", faces, ViewCount + 1,
              HoverSquare);
  if (ppmPath != nullptr && !WritePpm(ppmPath, BackBuffer)) {
    std::fprintf(stderr, "kvtool render-bench: cannot write %s\n", ppmPath);
  }
  FreeSurface(&BackBuffer);

  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2.0;
  std::printf("frames: %d, fastest %.3f ms, slowest %.3f ms\n", frames, times.front(),
              times.back());
  std::printf("%.3f ms/frame\n", median);
  return 0;
}
