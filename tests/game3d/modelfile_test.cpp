// The data file reader: the picture and value reading rules, mirroring, scaling, parking, the
// face counts, where the files are found, and a clear stop on a bad or missing file.

#include "test_util.h"

namespace {

class Loader : public GameTest {
 protected:
  bool Load() { return LoadFontImages() && (NextFace = FirstModelFace, LoadModelData()); }
  DataFolder data;
};

TEST_F(Loader, PictureLinesGiveTheirFirstByteAndDamageIsNamedOnce) {
  // A space reads as 32; an empty CR LF line as 13; an empty LF line as 10, taking the next
  // line with it; a lone CR ends a line; missing lines read as 26. Damage is one line on
  // stderr: lines missing, an empty line, two bytes on a line, a byte above the palette's real
  // colours (0..210), or for a font a second ink.
  const std::string sound = DataFolder::Lines('d');
  // Each case: the file, its picture, its text, its first three texels, the warning after the
  // file's name ("" none).
  // clang-format off
  const struct { const char* file; const uint16_t* texels; std::string text; uint8_t texel[3];
                 const char* warning; } cases[] = {
      {"font1.kvm", FontImage1, "a\n \nc", {'a', ' ', 'c'}, "line 2: byte 32 is not the font's"},
      {"font1.kvm", FontImage1, "a\r\n\r\nb\r\n", {'a', 13, 'b'}, "line 2: an empty line"},
      {"font1.kvm", FontImage1, "a\n\na\na\n", {'a', 10, 'a'}, "line 2: an empty line"},
      {"font1.kvm", FontImage1, "a\ra\r", {'a', 'a', 26}, "line 3: the file ends after 2 of its"},
      {"font2.kvm", FontImage2, "xyz\n", {'x', 26, 26}, "line 1: more than the one byte"},
      {"font1.kvm", FontImage1, "", {26, 26, 26}, "line 1: the file ends after 0 of"},
      {"font1.kvm", FontImage1, std::string("\0\n", 2) + sound, {0, 'd', 'd'}, ""},
      {"vloer.kvm", TextureSlots[5], "a\nb\n" + sound.substr(4, 2042) + "\xd3\n", {'a', 'b', 'd'},
       "line 1024: byte 211 is not a colour pictures use"},
      {"wijzerpl.kvm", TextureSlots[3], "\xd2\na\n" + sound.substr(4), {210, 'a', 'd'}, ""}};
  // clang-format on
  for (const auto& c : cases) {
    DataFolder fresh;
    fresh.Write(c.file, c.text);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Load()) << c.file;
    const std::string said = testing::internal::GetCapturedStderr();
    for (int n = 0; n < 3; ++n) EXPECT_EQ(c.texels[n], PaletteColour(c.texel[n])) << c.text;
    const std::string warning =
        "warning: the picture \"" + fresh.path + "/" + c.file + "\" is damaged at " + c.warning;
    EXPECT_TRUE(*c.warning
                    ? said.rfind(warning, 0) == 0 && std::count(said.begin(), said.end(), '\n') == 1
                    : said.empty())
        << said;
  }
}

// Value k of record r of model file m: each differs from every other value of the file, and
// odd coordinates are negative, so a record copied, mirrored or scaled wrong shows.
int Value(int m, int r, int k) {
  if (k == 0) return 900 + r;                  // read and ignored
  if (k == 1) return 30 + r + m;               // colour index
  if (k == 14) return 20 + r;                  // tag
  return (12 * r + k - 1) * (k % 2 ? -1 : 1);  // coordinates
}

TEST_F(Loader, EveryRecordIsCopiedMirroredScaledAndParkedFieldByField) {
  for (int m = 0; m < 7; ++m) {
    std::string text;
    for (int r = 0; r < DataFolder::Records[m]; ++r) {
      for (int k = 0; k < FaceRecordValues; ++k) {
        // Blank lines, tabs and words after a value are skipped; the colour's low byte counts
        // and coordinates keep their low 16 bits.
        const bool odd = m == 0 && r == 0 && (k == 1 || k == 2);
        text += odd ? k == 1 ? "\n\t" + std::to_string(Value(m, r, k) + 256) + " colour\n"
                             : "  " + std::to_string(Value(m, r, k) + 65536) + "  \n"
                    : std::to_string(Value(m, r, k)) + "\n";
      }
    }
    data.Write(DataFolder::Models[m], text);
  }
  ASSERT_TRUE(Load());
  // In load order: the copies each record gets, the scales in tenths, the lift. Copies follow
  // the records, those of record 0 first: -x, then -x -z, then -z (the knight -x only).
  // clang-format off
  const struct { PieceModel model; int copies, tenthsXZ, tenthsY, lift; } files[] = {
      {PawnModel, 3, 10, 10, 150}, {BishopModel, 3, 12, 12, 160}, {RookModel, 3, 12, 12, 160},
      {KingModel, 3, 14, 14, 170}, {QueenModel, 3, 14, 16, 180}, {KnightModel, 1, 12, 12, 160},
      {PawnModel, 0, 10, 10, 100}};
  // clang-format on
  const int mirrors[4][3] = {{1, 1, 0}, {-1, 1, 2}, {-1, -1, 4}, {1, -1, 2}};  // x, z, darker
  int face = FirstModelFace;
  for (int m = 0; m < 7; ++m) {
    const auto& f = files[m];
    const int n = DataFolder::Records[m], park = m < 6 ? ParkOffset : 0;
    EXPECT_TRUE(m == 6 || ModelStart[f.model] == face) << m;
    for (int j = 0; j < n * (1 + f.copies); ++j, ++face) {
      const int r = j < n ? j : (j - n) / f.copies;
      const int* mirror = mirrors[j < n ? 0 : 1 + (j - n) % f.copies];
      for (int c = 0; c < 12; ++c) {
        const int v = Value(m, r, 2 + c) * (c % 3 == 0 ? mirror[0] : c % 3 == 2 ? mirror[1] : 1);
        const int want = c % 3 == 1 ? v * f.tenthsY / 10 - f.lift : v * f.tenthsXZ / 10;
        ASSERT_EQ(CornersOf(face).v[c], want + (c % 3 == 0 ? park : 0))
            << DataFolder::Models[m] << " face " << j << " value " << c;
      }
      ASSERT_EQ(FaceTable.Colour[face],
                uint16_t(PaletteColour(uint8_t(Value(m, r, 1))) - PaletteColour(mirror[2])))
          << DataFolder::Models[m] << " face " << j;
      ASSERT_EQ(FaceTable.Tag[face], Value(m, r, 14)) << DataFolder::Models[m] << " face " << j;
    }
  }
  EXPECT_EQ(SurroundingsStart, face);
}

TEST_F(Loader, BadOrMissingFileStopsWithTheFileNamed) {
  std::string lettered = DataFolder::ModelText(11, false);
  lettered.replace(lettered.find("\n-3\n") + 1, 2, "x3");
  // Each case: the file, its text (empty: the file is missing), what the message says.
  const struct {
    const char* file;
    std::string text;
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
    MemReset(), MemFatalHandler = [] {};
    DataFolder fresh;
    fresh.Write(c.file, c.text);
    if (c.text.empty()) std::remove((fresh.path + "/" + c.file).c_str());
    EXPECT_FALSE(Load()) << c.file;
    ASSERT_EQ(MemMessageBoxes.size(), 1u) << c.file;
    EXPECT_TRUE(MemMessageBoxes[0].title == "DATA FILE ERROR !" && MemMessageBoxes[0].fatal &&
                MemStopCalls == 1u);
    for (const std::string& part : c.said) {
      const std::string said = part == data.path ? fresh.path : part;
      EXPECT_NE(MemMessageBoxes[0].text.find(said), std::string::npos)
          << MemMessageBoxes[0].text << " lacks " << said;
    }
    EXPECT_EQ(MemFramesPresented, 0u);
  }
}

TEST_F(Loader, WithoutKorvaneDataFilesAreFoundInTheCurrentDirectoryFirst) {
  // (Beside the program, and in ../share/korvane, are where the window and package tests find
  // them.)
  unsetenv("KORVANE_DATA");
  char* here = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(data.path.c_str()), 0);
  EXPECT_EQ(DataFilePath("font1.kvm"), "font1.kvm");
  ASSERT_EQ(chdir(here), 0);
  std::free(here);
}

}  // namespace
