// kvtool render and render-bench: frames of the real game scene, built by the game's own code,
// drawn through the in-memory platform backend.
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/hash.h"
#include "engine/random.h"
#include "game3d/camera.h"
#include "game3d/mainloop.h"
#include "game3d/scene.h"
#include "game3d/settings.h"
#include "platform3d/faces.h"
#include "platform3d/mem/mem_backend.h"
#include "platform3d/picking.h"
#include "platform3d/platform.h"
#include "platform3d/surface.h"
#include "platform3d/transform.h"
#include "tools/kvtool.h"

namespace {

constexpr int DefaultFrames = 300;
constexpr int MinFrames = 200;
constexpr int MaxFrames = 100000;

struct SceneOptions {
  uint8_t side = 0;
  uint8_t surroundings = 1;
  uint8_t board = 0;
  uint8_t pieces = 0;
  bool camera = false;
  double x = 0, y = 0, z = 0, yaw = 0, pitch = 0;
};

// The game stops on a bad data file through FatalError; here its text goes to stderr.
void ReportAndExit() {
  if (!MemMessageBoxes.empty()) {
    std::string text = MemMessageBoxes.back().text;
    std::replace(text.begin(), text.end(), '\r', '\n');
    std::fprintf(stderr, "kvtool: %s\n%s\n", MemMessageBoxes.back().title.c_str(), text.c_str());
  }
  std::exit(1);
}

// The world as the game builds it, a new game with the options' settings, the camera.
void BuildScene(const SceneOptions& options) {
  MemFatalHandler = ReportAndExit;
  HashAllocate();
  SeedRandom(1);
  AllocSurface(&BackBuffer, FrameWidth, FrameHeight, true);
  SetStartSettings();
  BuildGameTables();
  BuildGameWorld();
  PlayerSide = options.side;
  Surroundings = options.surroundings;
  BoardColour = options.board;
  WhitePieceStyle = options.pieces;
  BuildSurroundings();
  NewGameStep();
  if (options.camera) {
    CameraX = options.x;
    CameraY = options.y;
    CameraZ = options.z;
    CameraYaw = options.yaw;
    CameraPitch = options.pitch;
  }
  MouseX = 400;
  MouseY = 300;
}

void ReleaseScene() {
  FreeSurface(&BackBuffer);
  HashRelease();
}

// The 5-6-5 frame as an 8-bit RGB PNG, each level widened to the full range.
bool WritePng(const char* path, const Surface& frame) {
  std::vector<png_byte> rgb(static_cast<size_t>(frame.width) * frame.height * 3);
  for (int i = 0; i < frame.width * frame.height; ++i) {
    const uint16_t p = frame.pixels[i];
    rgb[3 * i] = static_cast<png_byte>(((p >> 11) & 31) * 255 / 31);
    rgb[3 * i + 1] = static_cast<png_byte>(((p >> 5) & 63) * 255 / 63);
    rgb[3 * i + 2] = static_cast<png_byte>((p & 31) * 255 / 31);
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(frame.width);
  image.height = static_cast<png_uint_32>(frame.height);
  image.format = PNG_FORMAT_RGB;
  const bool written = png_image_write_to_file(&image, path, 0, rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return written;
}

bool ParseChoice(const char* text, std::initializer_list<const char*> names, uint8_t* value) {
  uint8_t index = 0;
  for (const char* name : names) {
    if (std::strcmp(text, name) == 0) {
      *value = index;
      return true;
    }
    ++index;
  }
  return false;
}

bool ParseCamera(const char* text, SceneOptions* options) {
  char tail;
  if (std::sscanf(text, "%lf,%lf,%lf,%lf,%lf%c", &options->x, &options->y, &options->z,
                  &options->yaw, &options->pitch, &tail) != 5) {
    return false;
  }
  options->camera =
      options->yaw >= 0 && options->yaw < 360 && options->pitch >= 0 && options->pitch < 360;
  return options->camera;
}

// One scene option at argv[*i] (advancing past its value); false when it is not one.
bool ParseSceneOption(int argc, char** argv, int* i, SceneOptions* options, std::string* error) {
  const char* name = argv[*i];
  const char* value = *i + 1 < argc ? argv[*i + 1] : nullptr;
  bool ok;
  if (std::strcmp(name, "--side") == 0) {
    ok = value && ParseChoice(value, {"white", "black"}, &options->side);
  } else if (std::strcmp(name, "--surroundings") == 0) {
    ok = value && ParseChoice(value, {"0", "1", "2"}, &options->surroundings);
  } else if (std::strcmp(name, "--board") == 0) {
    ok = value && ParseChoice(value, {"stone", "wood"}, &options->board);
  } else if (std::strcmp(name, "--pieces") == 0) {
    ok = value && ParseChoice(value, {"wood", "white"}, &options->pieces);
  } else if (std::strcmp(name, "--camera") == 0) {
    ok = value && ParseCamera(value, options);
  } else {
    return false;
  }
  if (!ok) *error = std::string("bad value for ") + name;
  ++*i;
  return true;
}

int RenderUsage(const std::string& message) {
  std::fprintf(stderr,
               "kvtool render: %s (usage: kvtool render <out.png> [--side white|black] "
               "[--surroundings 0|1|2] [--board stone|wood] [--pieces wood|white] "
               "[--camera x,y,z,yaw,pitch])\n",
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
  for (int i = 1; i < argc; ++i) {
    std::string error;
    if (!ParseSceneOption(argc, argv, &i, &options, &error)) {
      return RenderUsage(std::string("unknown argument ") + argv[i]);
    }
    if (!error.empty()) return RenderUsage(error);
  }
  BuildScene(options);
  DrawGameView();
  const bool written = WritePng(out, BackBuffer);
  ReleaseScene();
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

  BuildScene(SceneOptions{});
  std::vector<double> times(static_cast<size_t>(frames));
  for (double& t : times) {
    const auto start = std::chrono::steady_clock::now();
    DrawGameView();
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
  ReleaseScene();

  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2.0;
  std::printf("frames: %d, fastest %.3f ms, slowest %.3f ms\n", frames, times.front(),
              times.back());
  std::printf("%.3f ms/frame\n", median);
  return 0;
}
