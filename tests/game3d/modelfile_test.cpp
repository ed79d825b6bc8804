// The data file reader: the picture and value reading rules, mirroring, scaling, parking, the
// face counts, where the files are found, and a clear stop on a bad or missing file.
#include "game3d/modelfile.h"

#include <sys/stat.h>

#include "platform3d/textures.h"
#include "test_util.h"

namespace {

class Loader : public GameTest {
 protected:
  bool Load() { return LoadFontImages() && (NextFace = FirstModelFace, LoadModelData()); }
  DataFolder data;
};

TEST_F(Loader, PictureLinesGiveTheirFirstByte) {
  // A space reads as 32; an empty CR LF line as 13; an empty LF line as 10, taking the next
  // line with it; a lone CR ends a line; missing lines read as 26.
  const struct {
    const char* text;
    uint8_t texel[3];
  } cases[] = {{"a\n b\nc", {'a', ' ', 'c'}},   {"a\r\n\r\nb\r\n", {'a', 13, 'b'}},
               {"a\n\nb\nc\n", {'a', 10, 'c'}}, {"a\rb\r", {'a', 'b', 26}},
               {"xyz\n", {'x', 26, 26}},        {"", {26, 26, 26}}};
  for (const auto& c : cases) {
    data.Write("font1.kvm", c.text);
    ASSERT_TRUE(LoadFontImages()) << c.text;
    for (int n = 0; n < 3; ++n) EXPECT_EQ(FontImage1[n], PaletteColour(c.texel[n])) << c.text;
    EXPECT_EQ(FontImage1[ImageTexels - 1], PaletteColour(26)) << c.text;
  }
}

TEST_F(Loader, RecordsAreMirroredScaledAndParked) {
  // Blank lines, tabs and words after a value are skipped; the colour's low byte counts (300
  // is index 44); coordinates keep their low 16 bits (70000 is 4464).
  data.Write("pion.kvm",
             DataFolder::ModelText(11, false) +
                 "7\n\n\t300 colour\n  10\n-20  \n30\n70000\n0\n0\n0\n0\n0\n0\n0\n0\n4\n");
  ASSERT_TRUE(Load());
  const uint16_t colour = PaletteColour(44);
  EXPECT_EQ(FaceTable.Tag[91], 4);
  EXPECT_EQ(FaceTable.Y1[91], -170);
  EXPECT_EQ(FaceTable.X2[91], static_cast<int16_t>(4464 + ParkOffset));
  // Each record's three copies follow the twelve records: -x, then -x -z, then -z, darker.
  const struct {
    int x, z;
    uint8_t darker;
  } mirrors[] = {{10, 30, 0}, {-10, 30, 2}, {-10, -30, 4}, {10, -30, 2}};
  for (int k = 0; k < 4; ++k) {
    const int f = k == 0 ? 91 : 80 + 12 + 3 * 11 + k - 1;
    EXPECT_EQ(FaceTable.X1[f], ParkOffset + mirrors[k].x) << k;
    EXPECT_EQ(FaceTable.Z1[f], mirrors[k].z) << k;
    EXPECT_EQ(FaceTable.Colour[f], uint16_t(colour - PaletteColour(mirrors[k].darker))) << k;
  }
  // Load order pawn, bishop, rook, king, queen, knight, scenery; corner 3 of record 1 is
  // (10, -6, 20), scaled with truncation toward zero, then moved.
  const struct {
    PieceModel model;
    int start, tenthsXZ, tenthsY, lift;
  } models[] = {{PawnModel, 80, 10, 10, 150},   {BishopModel, 128, 12, 12, 160},
                {RookModel, 192, 12, 12, 160},  {KingModel, 236, 14, 14, 170},
                {QueenModel, 300, 14, 16, 180}, {KnightModel, 364, 12, 12, 160}};
  for (const auto& m : models) {
    EXPECT_EQ(ModelStart[m.model], m.start) << m.model;
    EXPECT_EQ(FaceTable.X3[m.start + 1], ParkOffset + 10 * m.tenthsXZ / 10) << m.model;
    EXPECT_EQ(FaceTable.Y3[m.start + 1], -6 * m.tenthsY / 10 - m.lift) << m.model;
    EXPECT_EQ(FaceTable.Z3[m.start + 1], 20 * m.tenthsXZ / 10) << m.model;
  }
  // The knight is mirrored across x only; the scenery stays in the world, lowered to the board.
  EXPECT_EQ(FaceTable.X2[364 + 27 + 5], ParkOffset - 12);
  EXPECT_EQ(FaceTable.X1[418] + FaceTable.Y1[418] + FaceTable.Tag[419], -100 + 2);
  EXPECT_EQ(SurroundingsStart, 426);
}

TEST_F(Loader, BadOrMissingFileStopsWithTheFileNamed) {
  std::string lettered = DataFolder::ModelText(11, false);
  lettered.replace(lettered.find("\n-3\n") + 1, 2, "x3");
  const struct {
    const char* file;
    std::string text;  // empty: the file is missing
    std::vector<std::string> said;
  } cases[] = {
      {"vloer.kvm", "", {"\"vloer.kvm\" was not found", data.path}},
      {"font2.kvm", "", {"\"font2.kvm\" was not found"}},
      {"toren.kvm", lettered, {"toren.kvm", "Line 49 (face 4 of 11, value 4 of 15)", "\"x3\""}},
      {"paard.kvm", DataFolder::ModelText(26, false), {"paard.kvm", "face 27 of 27", "ends"}},
      {"loper.kvm", "1\n2abc\n", {"loper.kvm", "Line 2", "\"2abc\" is not a whole number"}},
      {"koning.kvm", "99999999999\n", {"koning.kvm", "too large"}},
  };
  for (const auto& c : cases) {
    MemReset();
    MemFatalHandler = [] {};
    DataFolder fresh;
    if (c.text.empty()) {
      std::remove((fresh.path + "/" + c.file).c_str());
    } else {
      fresh.Write(c.file, c.text);
    }
    EXPECT_FALSE(Load()) << c.file;
    ASSERT_EQ(MemMessageBoxes.size(), 1u) << c.file;
    EXPECT_EQ(MemMessageBoxes[0].title, "DATA FILE ERROR !");
    EXPECT_TRUE(MemMessageBoxes[0].fatal);
    EXPECT_EQ(MemStopCalls, 1u);
    for (const std::string& part : c.said) {
      const std::string said = part == data.path ? fresh.path : part;
      EXPECT_NE(MemMessageBoxes[0].text.find(said), std::string::npos)
          << MemMessageBoxes[0].text << " lacks " << said;
    }
    EXPECT_EQ(MemFramesPresented, 0u);
  }
}

TEST_F(Loader, FilesAreFoundHereThenBesideTheProgram) {
  unsetenv("KORVANE_DATA");
  char* here = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(data.path.c_str()), 0);
  EXPECT_EQ(DataFilePath("font1.kvm"), "font1.kvm");
  // Not in the current directory: the copy beside the program (the build folder).
  const std::string besideProgram = std::string(KORVANE_BUILD_DIR) + "/vloer.kvm";
  struct stat info;
  std::remove("vloer.kvm");
  if (stat(besideProgram.c_str(), &info) == 0) {
    EXPECT_EQ(DataFilePath("vloer.kvm"), besideProgram);
  }
  ASSERT_EQ(chdir(here), 0);
  std::free(here);
  setenv("KORVANE_DATA", data.path.c_str(), 1);
  EXPECT_EQ(DataFilePath("pion.kvm"), data.path + "/pion.kvm");
}

}  // namespace
