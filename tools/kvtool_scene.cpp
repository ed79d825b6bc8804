#include "tools/kvtool_scene.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/hash.h"
#include "engine/random.h"
#include "game3d/camera.h"
#include "game3d/mainloop.h"
#include "game3d/scene.h"
#include "game3d/settings.h"
#include "platform3d/platform.h"
#include "platform3d/transform.h"

namespace {

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

}  // namespace

void BuildToolScene(const SceneOptions& options) {
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

void ReleaseToolScene() {
  FreeSurface(&BackBuffer);
  HashRelease();
}

bool ParseSceneOption(int argc, char** argv, int* i, SceneOptions* options, const char** error) {
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
  if (!ok) *error = name;
  ++*i;
  return true;
}

namespace {

// 5-6-5 to 8-bit RGB, row by row.
std::vector<png_byte> FrameRgb(const Surface& frame) {
  std::vector<png_byte> rgb(static_cast<size_t>(frame.width) * frame.height * 3);
  for (int i = 0; i < frame.width * frame.height; ++i) {
    const uint16_t p = frame.pixels[i];
    rgb[3 * i] = static_cast<png_byte>(((p >> 11) & 31) * 255 / 31);
    rgb[3 * i + 1] = static_cast<png_byte>(((p >> 5) & 63) * 255 / 63);
    rgb[3 * i + 2] = static_cast<png_byte>((p & 31) * 255 / 31);
  }
  return rgb;
}

bool WriteRgbPng(const char* path, const std::vector<png_byte>& rgb, int width, int height) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  const bool written = png_image_write_to_file(&image, path, 0, rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return written;
}

}  // namespace

bool WritePng(const char* path, const Surface& frame) {
  return WriteRgbPng(path, FrameRgb(frame), frame.width, frame.height);
}

bool WriteSquarePng(const char* path, const Surface& frame, int size) {
  if (size < 1 || size > frame.height) return false;
  const std::vector<png_byte> rgb = FrameRgb(frame);
  const int side = frame.height, left = (frame.width - side) / 2;
  std::vector<png_byte> square(static_cast<size_t>(size) * size * 3);
  for (int y = 0; y < size; ++y) {
    // Box edges by integer division: the boxes tile the square exactly and none is empty.
    const int top = y * side / size, bottom = (y + 1) * side / size;
    for (int x = 0; x < size; ++x) {
      const int first = left + x * side / size, last = left + (x + 1) * side / size;
      const int count = (bottom - top) * (last - first);
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int sy = top; sy < bottom; ++sy) {
          for (int sx = first; sx < last; ++sx) sum += rgb[(sy * frame.width + sx) * 3 + c];
        }
        square[(y * size + x) * 3 + c] = static_cast<png_byte>((sum + count / 2) / count);
      }
    }
  }
  return WriteRgbPng(path, square, size, size);
}
