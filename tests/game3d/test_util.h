// Shared set-up for the 3D game's tests: the in-memory platform with tables built, a cleared
// 800x600 BackBuffer and the start settings, a home and a data folder of their own, and what
// several tests read back. It brings in the game, the engine's test helpers and the test
// library.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "game3d/camera.h"
#include "game3d/clocks.h"
#include "game3d/gamefile.h"
#include "game3d/keep.h"
#include "game3d/mainloop.h"
#include "game3d/menus.h"
#include "game3d/menutext.h"
#include "game3d/modelfile.h"
#include "game3d/panels.h"
#include "game3d/pgn.h"
#include "game3d/scene.h"
#include "game3d/settings.h"
#include "game3d/textfile.h"
#include "platform3d/faces.h"
#include "platform3d/mem/mem_backend.h"
#include "platform3d/memory.h"
#include "platform3d/palette.h"
#include "platform3d/picking.h"
#include "platform3d/platform.h"
#include "platform3d/render.h"
#include "platform3d/spans.h"
#include "platform3d/surface.h"
#include "platform3d/textures.h"
#include "platform3d/transform.h"
#include "platform3d/trig.h"
#include "tests/engine/test_util.h"

// A folder of its own under /tmp, removed with all it holds when the object goes.
struct TempFolder {
  TempFolder() {
    char pattern[] = "/tmp/korvane_test_XXXXXX";
    path = mkdtemp(pattern);
  }
  ~TempFolder() { std::system(("rm -rf " + path).c_str()); }
  std::string path;
};

class GameTest : public ::testing::Test {
 protected:
  TempFolder home;  // each test's own: settings and the last game never go to the real home
  void SetUp() override {
    setenv("HOME", home.path.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home.path + "/config").c_str(), 1);
    setenv("XDG_STATE_HOME", (home.path + "/state").c_str(), 1);
    MemReset();
    MemFatalHandler = [] {};  // FatalError returns, so the error paths can be inspected
    BuildTrigTables(), BuildPalette(), ResetFaces(0, FaceTableSize - 1);
    AllocSurface(&BackBuffer, FrameWidth, FrameHeight, true);
    SetStartSettings(), HoverSquare = NoHoverSquare;
  }
  void TearDown() override { FreeSurface(&BackBuffer), MemReset(); }
  static uint16_t Pixel(int x, int y) { return BackBuffer.pixels[y * BackBuffer.width + x]; }
  static int CountPixels(uint16_t colour) {
    return int(std::count(BackBuffer.pixels, BackBuffer.pixels + FrameWidth * FrameHeight, colour));
  }
};

// A folder of the eleven data files, made up so that every value is known, with KORVANE_DATA
// pointing at it while the object lives. Every record of a model is the same small upright
// quad, its first corner on the model's axis: (0, -r, 0) (10, -r, 20) (10, -r-5, 20)
// (0, -r-5, 0) for record r, colour index ModelColourIndex; the scenery's first two faces carry
// the clock tags 1 and 2.
class DataFolder : public TempFolder {
 public:
  static constexpr int ModelColourIndex = 60;
  static constexpr char Models[7][13] = {"pion.kvm", "loper.kvm", "toren.kvm",   "koning.kvm",
                                         "dame.kvm", "paard.kvm", "omgeving.kvm"};
  static constexpr int Records[7] = {12, 16, 11, 16, 16, 27, 8};

  DataFolder() {
    setenv("KORVANE_DATA", path.c_str(), 1);
    for (const char* picture : {"font1.kvm", "font2.kvm", "wijzerpl.kvm", "vloer.kvm"})
      Write(picture, Lines('d'));
    for (int m = 0; m < 7; ++m) Write(Models[m], ModelText(Records[m], m == 6));
  }
  ~DataFolder() { unsetenv("KORVANE_DATA"); }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(path + "/" + name, std::ios::binary) << text;
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
};

// Where each board quad shows on the screen from the current camera: the world drawn with
// only the squares, each in a colour of its own, and the centre of each colour's pixels.
// Leaves the world and BackBuffer to be drawn again.
struct ScreenPoint {
  int x = -1, y = -1;
};
inline std::vector<ScreenPoint> SquareScreenPoints() {
  const FaceArrays saved = FaceTable;
  ResetFaces(FirstModelFace, PipelineFaces - 1);
  for (int q = 0; q < 64; ++q) FaceTable.Colour[8 * (q % 8) + q / 8] = static_cast<uint16_t>(q + 1);
  ClearBackBuffer(0);
  SetCameraCell(CameraX, CameraY, CameraZ);
  SelectFaces(), RotateFaces(), RenderScene();
  FaceTable = saved;
  std::vector<long> sums(3 * 65);  // x, y and count of each colour's pixels
  for (int p = 0; p < FrameWidth * FrameHeight; ++p) {
    const int c = BackBuffer.pixels[p] <= 64 ? BackBuffer.pixels[p] : 0;
    sums[3 * c] += p % FrameWidth, sums[3 * c + 1] += p / FrameWidth, ++sums[3 * c + 2];
  }
  std::vector<ScreenPoint> points(64);
  for (int q = 1; q <= 64; ++q) {
    if (sums[3 * q + 2] > 0)
      points[q - 1] = {int(sums[3 * q] / sums[3 * q + 2]), int(sums[3 * q + 1] / sums[3 * q + 2])};
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
      const std::map<int, char> letters = {{0, '.'}, {48, 'p'}, {54, 'n'}, {44, 'r'}, {64, 'k'}};
      const bool shade = !faces || colour == white || colour == black;
      const char piece = letters.count(faces) && shade ? letters.at(faces) : '?';
      board += colour == white ? char(std::toupper(piece)) : piece;
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
  for (uint16_t* t : {FontImage1, FontImage2})
    for (int i = 0; i < ImageTexels; ++i) t[i] = seed == 0 || (seed > 0 && random() & 1);
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
