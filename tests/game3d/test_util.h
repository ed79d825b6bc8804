// Shared set-up for the 3D game's tests: the in-memory platform with tables built, a cleared
// 800x600 BackBuffer and the start settings.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/hash.h"
#include "game3d/camera.h"
#include "game3d/menutext.h"
#include "game3d/modelfile.h"
#include "game3d/scene.h"
#include "game3d/settings.h"
#include "platform3d/faces.h"
#include "platform3d/mem/mem_backend.h"
#include "platform3d/memory.h"
#include "platform3d/palette.h"
#include "platform3d/picking.h"
#include "platform3d/platform.h"
#include "platform3d/render.h"
#include "platform3d/spans.h"
#include "platform3d/surface.h"
#include "platform3d/transform.h"
#include "platform3d/trig.h"

// A home of its own for each test: settings and the last game go to its folders, never to the
// real home.
struct TempHome {
  TempHome() {
    char pattern[] = "/tmp/korvane_home_XXXXXX";
    path = mkdtemp(pattern);
    setenv("HOME", path.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (path + "/config").c_str(), 1);
    setenv("XDG_STATE_HOME", (path + "/state").c_str(), 1);
  }
  ~TempHome() { std::system(("rm -rf " + path).c_str()); }
  std::string path;
};

class GameTest : public ::testing::Test {
 protected:
  TempHome home;
  void SetUp() override {
    MemReset();
    MemFatalHandler = [] {};  // FatalError returns, so the error paths can be inspected
    BuildTrigTables();
    BuildPalette();
    ResetFaces(0, FaceTableSize - 1);
    AllocSurface(&BackBuffer, FrameWidth, FrameHeight, true);
    SetStartSettings();
    HoverSquare = NoHoverSquare;
  }
  void TearDown() override {
    FreeSurface(&BackBuffer);
    MemReset();
  }
  static uint16_t Pixel(int x, int y) { return BackBuffer.pixels[y * BackBuffer.width + x]; }
  static int CountPixels(uint16_t colour) {
    return static_cast<int>(std::count(
        BackBuffer.pixels, BackBuffer.pixels + BackBuffer.width * BackBuffer.height, colour));
  }
};

// A folder of the eleven data files, made up so that every value is known, with KORVANE_DATA
// pointing at it while the object lives. Every record of a model is the same small upright
// quad, its first corner on the model's axis: (0, -r, 0) (10, -r, 20) (10, -r-5, 20)
// (0, -r-5, 0) for record r, colour index ModelColourIndex; the scenery's first two faces carry
// the clock tags 1 and 2.
class DataFolder {
 public:
  static constexpr int ModelColourIndex = 60;
  static constexpr char Models[7][13] = {"pion.kvm", "loper.kvm", "toren.kvm",   "koning.kvm",
                                         "dame.kvm", "paard.kvm", "omgeving.kvm"};
  static constexpr int Records[7] = {12, 16, 11, 16, 16, 27, 8};

  DataFolder() {
    char pattern[] = "/tmp/korvane_data_XXXXXX";
    path = mkdtemp(pattern);
    setenv("KORVANE_DATA", path.c_str(), 1);
    for (const char* picture : {"font1.kvm", "font2.kvm", "wijzerpl.kvm", "vloer.kvm"}) {
      Write(picture, Lines('d'));
    }
    for (int m = 0; m < 7; ++m) Write(Models[m], ModelText(Records[m], m == 6));
  }
  ~DataFolder() {
    for (const std::string& name : written) std::remove((path + "/" + name).c_str());
    rmdir(path.c_str());
    unsetenv("KORVANE_DATA");
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(path + "/" + name, std::ios::binary) << text;
    written.push_back(name);
  }
  static std::string Lines(char c) {
    std::string text;
    for (int i = 0; i < 1024; ++i) text += std::string(1, c) + "\n";
    return text;
  }
  static std::string ModelText(int records, bool scenery) {
    std::string text;
    for (int r = 0; r < records; ++r) {
      const int tag = scenery && r < 2 ? r + 1 : 0;
      const int v[15] = {0,  ModelColourIndex, 0,  -r, 0,      10, -r, 20,
                         10, -r - 5,           20, 0,  -r - 5, 0,  tag};
      for (int value : v) text += std::to_string(value) + "\n";
    }
    return text;
  }
  std::string path;

 private:
  std::vector<std::string> written;
};

// Where each board quad shows on the screen from the current camera: the world drawn with
// only the squares, each in a colour of its own, and the centre of each colour's pixels.
// Leaves the world and BackBuffer to be drawn again.
struct ScreenPoint {
  int x = -1, y = -1;
};
inline std::vector<ScreenPoint> SquareScreenPoints() {
  FaceArrays saved = FaceTable;
  ResetFaces(80, PipelineFaces - 1);
  for (int q = 0; q < 64; ++q) FaceTable.Colour[8 * (q % 8) + q / 8] = static_cast<uint16_t>(q + 1);
  ClearBackBuffer(0);
  SetCameraCell(CameraX, CameraY, CameraZ);
  SelectFaces();
  RotateFaces();
  RenderScene();
  std::vector<long> sumX(65), sumY(65), count(65);
  for (int y = 0; y < FrameHeight; ++y) {
    for (int x = 0; x < FrameWidth; ++x) {
      const uint16_t p = BackBuffer.pixels[y * FrameWidth + x];
      if (p < 1 || p > 64) continue;
      sumX[p] += x, sumY[p] += y, ++count[p];
    }
  }
  FaceTable = saved;
  std::vector<ScreenPoint> points(64);
  for (int q = 0; q < 64; ++q) {
    if (count[q + 1] > 0)
      points[q] = {int(sumX[q + 1] / count[q + 1]), int(sumY[q + 1] / count[q + 1])};
  }
  return points;
}

// The pieces as drawn, in a FEN's order (rank 8 first, file a first; the world has file a at
// x 850 and rank 8 at z 150 whichever side the player has): '.' for an empty square, else the
// piece by its count of faces ('k' for kings, queens and bishops alike: they have as many
// here), upper case in White's shade, lower case in Black's, '?' for anything else.
inline std::string DrawnBoard() {
  const uint16_t base = PaletteColour(DataFolder::ModelColourIndex),
                 white = base + PaletteColour(WhitePieceStyle ? 29 : 180),
                 black = base - PaletteColour(17);
  std::string board;
  for (int z = 150; z < 900; z += 100) {
    for (int x = 850; x > 100; x -= 100) {
      int faces = 0;
      uint16_t colour = 0;  // of the piece's first face, which keeps the model's own shade
      for (int f = PieceFacesLast; f >= PieceFacesStart; --f) {
        if (FaceTable.Y1[f] != EmptyCoordinate && FaceTable.X1[f] == x && FaceTable.Z1[f] == z)
          ++faces, colour = FaceTable.Colour[f];
      }
      const char piece = faces == 0    ? '.'
                         : faces == 48 ? 'p'
                         : faces == 54 ? 'n'
                         : faces == 44 ? 'r'
                         : faces == 64 ? 'k'
                                       : '?';
      board += colour == white             ? char(std::toupper(piece))
               : !faces || colour == black ? piece
                                           : '?';
    }
  }
  return board;
}
// A FEN's board in DrawnBoard's letters.
inline std::string BoardOf(const std::string& fen) {
  std::string board;
  for (const char c : fen.substr(0, fen.find(' '))) {
    if (std::isdigit(c)) board += std::string(c - '0', '.');
    if (std::isalpha(c)) board += std::strchr("qbQB", c) ? (std::isupper(c) ? 'K' : 'k') : c;
  }
  return board;
}

// Made-up font pictures: 0 sets every texel, -1 none, any other seed sets them at random.
inline void FillFont(int seed) {
  std::mt19937 random(seed);
  for (uint16_t* t : {FontImage1, FontImage2}) {
    for (int i = 0; i < ImageTexels; ++i) t[i] = seed == 0 || (seed > 0 && random() & 1);
  }
}

inline std::vector<uint16_t> Drawn(const std::function<void()>& draw) {
  ClearBackBuffer(0);
  draw();
  return {BackBuffer.pixels, BackBuffer.pixels + 800 * 600};
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct EngineGameTest : GameTest {
  static void SetUpTestSuite() { HashAllocate(); }
  static void TearDownTestSuite() { HashRelease(); }
};
