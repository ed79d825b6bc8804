#include "game3d/modelfile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform3d/faces.h"
#include "platform3d/palette.h"
#include "platform3d/platform.h"
#include "platform3d/textures.h"

uint16_t FontImage1[ImageTexels];
uint16_t FontImage2[ImageTexels];
int16_t ModelStart[PieceModelCount];
int16_t NextFace = FirstModelFace;
int16_t SurroundingsStart;

namespace {

constexpr char ErrorTitle[] = "DATA FILE ERROR !";
constexpr char EndOfFileChar = 26;  // what reading past the end of a file gives
constexpr uint8_t ClockImageSlot = 3;
constexpr uint8_t FloorImageSlot = 5;

enum class Expansion { None, MirrorFour, MirrorX };

// One model file: its records, how the loader completes it, and where the finished faces go.
// Scales are in tenths so the truncation is exact.
struct ModelFileInfo {
  const char* name;
  int records;
  Expansion expansion;
  int scaleXZ, scaleY;
  int16_t offsetX, offsetY;
  int model;  // ModelStart entry, -1 for the scenery
};

constexpr ModelFileInfo ModelFiles[] = {
    {"pion.kvm", 12, Expansion::MirrorFour, 10, 10, ParkOffset, -150, PawnModel},
    {"loper.kvm", 16, Expansion::MirrorFour, 12, 12, ParkOffset, -160, BishopModel},
    {"toren.kvm", 11, Expansion::MirrorFour, 12, 12, ParkOffset, -160, RookModel},
    {"koning.kvm", 16, Expansion::MirrorFour, 14, 14, ParkOffset, -170, KingModel},
    {"dame.kvm", 16, Expansion::MirrorFour, 14, 16, ParkOffset, -180, QueenModel},
    {"paard.kvm", 27, Expansion::MirrorX, 12, 12, ParkOffset, -160, KnightModel},
    {"omgeving.kvm", 8, Expansion::None, 10, 10, 0, -100, -1},
};

std::string ProgramFolder() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  path[length] = '\0';
  char* slash = std::strrchr(path, '/');
  if (slash == nullptr) return "";
  *slash = '\0';
  return path;
}

std::vector<std::string> DataFolders() {
  const char* chosen = std::getenv("KORVANE_DATA");
  if (chosen != nullptr && *chosen != '\0') return {chosen};
  const std::string program = ProgramFolder();
  std::vector<std::string> folders = {"."};
  if (!program.empty()) {
    folders.push_back(program);
    folders.push_back(program + "/../share/korvane");
  }
  return folders;
}

std::string InFolder(const std::string& folder, const char* name) {
  return folder == "." ? name : folder + "/" + name;
}

bool IsFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// FatalError with the file named; returns false for the callers to pass on.
bool Fail(const std::string& text) {
  FatalError(ErrorTitle, text.c_str());
  return false;
}

// The whole file, or the failure reported.
bool ReadWholeFile(const char* name, std::string* contents) {
  const std::string path = DataFilePath(name);
  if (!IsFile(path)) {
    std::string places;
    for (const std::string& folder : DataFolders()) {
      places += "\r   " + (folder == "." ? std::string("the current directory") : folder);
    }
    return Fail(std::string("The data file \"") + name + "\" was not found !\rLooked in:" + places);
  }
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return Fail("The data file \"" + path + "\" cannot be read !\r" + std::strerror(errno));
  }
  contents->clear();
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) contents->append(buffer, n);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return Fail("The data file \"" + path + "\" cannot be read !");
  return true;
}

// A text read the way the data files are laid out: a char, an integer, the rest of a line.
class TextReader {
 public:
  explicit TextReader(const std::string& text) : text_(text) {}

  int line() const { return line_; }
  bool AtEnd() const { return pos_ >= text_.size(); }
  bool AtLineEnd() const { return AtEnd() || text_[pos_] == '\r' || text_[pos_] == '\n'; }

  // The next byte, or EndOfFileChar at the end (which then stays there).
  char ReadChar() { return pos_ < text_.size() ? text_[pos_++] : EndOfFileChar; }

  // Skips to just after the next line end: CR, LF or CR LF.
  void SkipLine() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '\n') break;
      if (c == '\r') {
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        break;
      }
    }
    ++line_;
  }

  // Blanks, tabs and line ends, then a decimal integer with an optional sign, then the rest of
  // its line. False with *error set when there is no whole number there.
  bool ReadInteger(int32_t* value, std::string* error) {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == ' ' || c == '\t') {
        ++pos_;
      } else if (c == '\r' || c == '\n') {
        SkipLine();
      } else {
        break;
      }
    }
    if (pos_ >= text_.size()) {
      *error = "the file ends where a number was expected";
      return false;
    }
    const size_t start = pos_;
    if (text_[pos_] == '-' || text_[pos_] == '+') ++pos_;
    int64_t number = 0;
    size_t digits = 0;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
      number = number * 10 + (text_[pos_++] - '0');
      if (number > INT32_MAX) {
        *error = "the number is too large";
        return false;
      }
      ++digits;
    }
    const bool ends = pos_ >= text_.size() || text_[pos_] == ' ' || text_[pos_] == '\t' ||
                      text_[pos_] == '\r' || text_[pos_] == '\n';
    if (digits == 0 || !ends) {
      size_t stop = text_.find_first_of(" \t\r\n", start);
      if (stop == std::string::npos) stop = text_.size();
      *error = "\"" + text_.substr(start, std::min<size_t>(stop - start, 20)) +
               "\" is not a whole number";
      return false;
    }
    *value = static_cast<int32_t>(text_[start] == '-' ? -number : number);
    SkipLine();
    return true;
  }

 private:
  const std::string& text_;
  size_t pos_ = 0;
  int line_ = 1;
};

// Pictures of every kind hold one byte a line, and only the palette's real colours: the
// entries above LastPictureColour are filler, all the same near-black. A font sheet is drawn
// as a mask in the text's own colour, so it is one ink on an empty (0) ground.
enum class PictureKind { Font, Texture };
constexpr int LastPictureColour = 210;

// What is wrong with texel `n`, just read as `index` with `reader` standing after it; empty
// when nothing is. `ink` is a font sheet's first dot so far.
std::string PictureFault(PictureKind kind, int n, bool ended, int index, const TextReader& reader,
                         int ink) {
  if (ended) {
    return "the file ends after " + std::to_string(n) + " of its " + std::to_string(ImageTexels) +
           " lines (the rest is filled with colour " + std::to_string(MissingTexelIndex) + ")";
  }
  if (index == '\r' || index == '\n') return "an empty line, which shifts the lines after it";
  if (!reader.AtLineEnd()) return "more than the one byte a line holds";
  if (index > LastPictureColour) {
    return "byte " + std::to_string(index) + " is not a colour pictures use (0 to " +
           std::to_string(LastPictureColour) + ")";
  }
  if (kind == PictureKind::Font && index != 0 && ink != 0 && index != ink) {
    return "byte " + std::to_string(index) + " is not the font's ink (" + std::to_string(ink) + ")";
  }
  return "";
}

// Damage does not stop the game: the picture keeps what the format gives (missing lines are
// padded), and the first fault is named in one line on stderr.
bool ReadImage(const char* name, uint16_t* texels, PictureKind kind) {
  std::string text;
  if (!ReadWholeFile(name, &text)) return false;
  TextReader reader(text);
  std::string fault;
  int ink = 0;
  for (int n = 0; n < ImageTexels; ++n) {
    const int line = reader.line();
    const bool ended = reader.AtEnd();
    const auto index = static_cast<uint8_t>(reader.ReadChar());
    if (fault.empty()) {
      const std::string what = PictureFault(kind, n, ended, index, reader, ink);
      if (!what.empty()) fault = "line " + std::to_string(line) + ": " + what;
      if (what.empty() && ink == 0) ink = index;
    }
    texels[n] = PaletteColour(index);
    reader.SkipLine();
  }
  if (!fault.empty()) {
    std::fprintf(stderr, "warning: the picture \"%s\" is damaged at %s\n",
                 DataFilePath(name).c_str(), fault.c_str());
  }
  return true;
}

int16_t Low16(int32_t value) {
  return static_cast<int16_t>(static_cast<uint16_t>(value));
}

// Reads the file's records into FaceTable from NextFace on, advancing NextFace.
bool ReadRecords(const ModelFileInfo& info) {
  std::string text;
  if (!ReadWholeFile(info.name, &text)) return false;
  TextReader reader(text);
  for (int r = 0; r < info.records; ++r) {
    int32_t values[FaceRecordValues];
    for (int32_t& value : values) {
      std::string error;
      if (!reader.ReadInteger(&value, &error)) {
        char where[160];
        std::snprintf(where, sizeof where,
                      "Line %d (face %d of %d, value %d of %d): ", reader.line(), r + 1,
                      info.records, static_cast<int>(&value - values) + 1, FaceRecordValues);
        return Fail("The data file \"" + DataFilePath(info.name) + "\" is damaged !\r" + where +
                    error + ".");
      }
    }
    FaceCorners corners;
    for (int c = 0; c < 12; ++c) corners.v[c] = Low16(values[2 + c]);
    const uint8_t colourIndex = static_cast<uint8_t>(Low16(values[1]) & 0xFF);
    StoreFace(NextFace++, corners, PaletteColour(colourIndex), Low16(values[14]));
  }
  return true;
}

// Appends a copy of face `from` with the chosen axes negated and a darker colour.
void AppendMirror(int from, bool negateX, bool negateZ, uint8_t darkerIndex) {
  FaceCorners corners = CornersOf(from);
  for (int corner = 0; corner < 4; ++corner) {
    int16_t& x = corners.v[3 * corner];
    int16_t& z = corners.v[3 * corner + 2];
    if (negateX) x = Low16(-x);
    if (negateZ) z = Low16(-z);
  }
  const uint16_t colour =
      static_cast<uint16_t>(FaceTable.Colour[from] - PaletteColour(darkerIndex));
  StoreFace(NextFace++, corners, colour, FaceTable.Tag[from]);
}

void MirrorFour(int start, int records) {
  for (int i = 0; i < records; ++i) {
    AppendMirror(start + i, true, false, 2);
    AppendMirror(start + i, true, true, 4);
    AppendMirror(start + i, false, true, 2);
  }
}

void MirrorX(int start, int records) {
  for (int i = 0; i < records; ++i) AppendMirror(start + i, true, false, 2);
}

// Scales, then moves, every corner of faces first..NextFace-1.
void ScaleAndOffset(int first, const ModelFileInfo& info) {
  for (int f = first; f < NextFace; ++f) {
    FaceCorners corners = CornersOf(f);
    for (int c = 0; c < 12; ++c) {
      const bool isY = c % 3 == 1;
      const int32_t scaled = corners.v[c] * (isY ? info.scaleY : info.scaleXZ) / 10;
      const int32_t offset = c % 3 == 0 ? info.offsetX : isY ? info.offsetY : 0;
      corners.v[c] = Low16(Low16(scaled) + offset);
    }
    StoreFace(f, corners, FaceTable.Colour[f], FaceTable.Tag[f]);
  }
}

bool LoadModel(const ModelFileInfo& info) {
  const int start = NextFace;
  if (!ReadRecords(info)) return false;
  if (info.expansion == Expansion::MirrorFour) MirrorFour(start, info.records);
  if (info.expansion == Expansion::MirrorX) MirrorX(start, info.records);
  ScaleAndOffset(start, info);
  if (info.model >= 0) ModelStart[info.model] = static_cast<int16_t>(start);
  return true;
}

}  // namespace

std::string DataFilePath(const char* name) {
  const std::vector<std::string> folders = DataFolders();
  for (const std::string& folder : folders) {
    const std::string path = InFolder(folder, name);
    if (IsFile(path)) return path;
  }
  return InFolder(folders.front(), name);
}

bool LoadFontImages() {
  return ReadImage("font1.kvm", FontImage1, PictureKind::Font) &&
         ReadImage("font2.kvm", FontImage2, PictureKind::Font);
}

bool LoadModelData() {
  if (!ReadImage("wijzerpl.kvm", TextureSlots[ClockImageSlot], PictureKind::Texture)) return false;
  if (!ReadImage("vloer.kvm", TextureSlots[FloorImageSlot], PictureKind::Texture)) return false;
  for (const ModelFileInfo& info : ModelFiles) {
    if (!LoadModel(info)) return false;
  }
  SurroundingsStart = NextFace;
  return true;
}
