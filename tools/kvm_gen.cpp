// kvm-gen <folder>: writes the eleven data files of korvane3d into <folder>, the same bytes on
// every run: four 32x32 pictures (two font sheets, the clock dial, the floor) and seven face
// lists (six piece models and the fixed scenery).
//
// Shapes are designed in finished world units, as the player sees them: heights above the
// board, radii from the piece's axis. Writing a file turns them into the units the loader
// expects, which scales each piece model and lifts it so that model y = 50 lands on the board.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Face lists

// A point in world units: x and z across the board from the piece's axis (or the world's
// origin for the scenery), h the height above the board.
struct Point {
  double x, h, z;
};

struct Face {
  Point corner[4];
  uint8_t colour;  // palette index
  int16_t tag;     // 0 plain, 1 and 2 the clock faces
};

using Faces = std::vector<Face>;

// How the loader completes a model: which part of the piece the file describes.
enum class Symmetry : uint8_t {
  Quarter,  // x >= 0, z >= 0; mirrored into four quarters
  Half,     // x >= 0; mirrored across x = 0
  None,     // the scenery, used as it stands
};

struct ModelFile {
  const char* name;
  int records;  // exactly what the loader reads
  Symmetry symmetry;
  double scaleXZ;  // the loader's scale factors, undone here
  double scaleY;
};

constexpr int PieceBaseY = 50;  // model y of every piece's foot

constexpr ModelFile PawnFile = {"pion.kvm", 12, Symmetry::Quarter, 1.0, 1.0};
constexpr ModelFile BishopFile = {"loper.kvm", 16, Symmetry::Quarter, 1.2, 1.2};
constexpr ModelFile RookFile = {"toren.kvm", 11, Symmetry::Quarter, 1.2, 1.2};
constexpr ModelFile KingFile = {"koning.kvm", 16, Symmetry::Quarter, 1.4, 1.4};
constexpr ModelFile QueenFile = {"dame.kvm", 16, Symmetry::Quarter, 1.4, 1.6};
constexpr ModelFile KnightFile = {"paard.kvm", 27, Symmetry::Half, 1.2, 1.2};
constexpr ModelFile SceneryFile = {"omgeving.kvm", 8, Symmetry::None, 1.0, 1.0};

bool WriteFile(const std::string& folder, const char* name, const std::string& text) {
  const std::string path = folder + "/" + name;
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) {
    std::fprintf(stderr, "kvm-gen: cannot write %s\n", path.c_str());
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (std::fclose(out) != 0 || !written) {
    std::fprintf(stderr, "kvm-gen: writing %s failed\n", path.c_str());
    return false;
  }
  return true;
}

long ModelXZ(const ModelFile& file, double x) {
  return std::lround(x / file.scaleXZ);
}

// y points down in the model; the scenery's model y = 0 is the board's level.
long ModelY(const ModelFile& file, double h) {
  if (file.symmetry == Symmetry::None) return -std::lround(h);
  return PieceBaseY - std::lround(h / file.scaleY);
}

// Every value on a line of its own: a record number (the loader skips it), the colour index,
// the four corners, the tag.
bool WriteModel(const std::string& folder, const ModelFile& file, const Faces& faces) {
  if (static_cast<int>(faces.size()) != file.records) {
    std::fprintf(stderr, "kvm-gen: %s has %zu records, the loader reads %d\n", file.name,
                 faces.size(), file.records);
    return false;
  }
  std::string text;
  int number = 0;
  for (const Face& face : faces) {
    text += std::to_string(++number) + "\n" + std::to_string(face.colour) + "\n";
    for (const Point& p : face.corner) {
      text += std::to_string(ModelXZ(file, p.x)) + "\n";
      text += std::to_string(ModelY(file, p.h)) + "\n";
      text += std::to_string(ModelXZ(file, p.z)) + "\n";
    }
    text += std::to_string(face.tag) + "\n";
  }
  return WriteFile(folder, file.name, text);
}

// ---------------------------------------------------------------------------------------------
// Turned pieces: a profile of radius by height, swept round the part of the circle the file
// describes in steps of 45 degrees.

// Greys that stay clean through every colour change the game makes: the two White styles
// subtract (1, 18, 17) and (1, 4, 2) from the 5-6-5 fields (they add a palette colour that
// wraps), Black subtracts (18, 35, 18), and the mirrored quarters take off up to (4, 9, 4)
// more. Greys from index 22 up survive all of that without a field borrowing from the next;
// the even ones (green twice red plus one) keep the white style from turning pink.
constexpr uint8_t Highlight = 28;  // faces turned up to the light
constexpr uint8_t Light = 26;
constexpr uint8_t Body = 24;   // upright faces
constexpr uint8_t Shade = 22;  // undersides, the knight's mane and eye

enum class Shape : uint8_t {
  Ring,    // from (r0, h0) to (r1, h1): one face per 45 degrees
  Cap,     // a flat disc of radius r0 at h0, drawn up to a point on the axis at h1: one face
           // per 90 degrees
  Sector,  // one face from (r0, h0) to (r1, h1) between the angles a0 and a1 (a merlon)
  Spike,   // a triangle on the arc a0..a1 at radius r0 and h0, its tip at h1 (a crown's point)
  Panel,   // an axis-aligned rectangle x0..x1, h0..h1, z0..z1, flat in one of them (the cross)
};

struct Step {
  Shape shape;
  // Ring: r0 h0 r1 h1; Cap: r0 h0 h1; Sector: r0 h0 r1 h1 a0 a1; Spike: r0 h0 h1 a0 a1;
  // Panel: x0 x1 h0 h1 z0 z1
  double v[6];
  uint8_t colour;
};

constexpr Step Ring(double r0, double h0, double r1, double h1, uint8_t colour) {
  return {Shape::Ring, {r0, h0, r1, h1, 0, 0}, colour};
}
constexpr Step Cap(double r, double h, double apex, uint8_t colour) {
  return {Shape::Cap, {r, h, apex, 0, 0, 0}, colour};
}
constexpr Step Sector(double r0, double h0, double r1, double h1, double a0, double a1,
                      uint8_t colour) {
  return {Shape::Sector, {r0, h0, r1, h1, a0, a1}, colour};
}
constexpr Step Spike(double r, double h0, double h1, double a0, double a1, uint8_t colour) {
  return {Shape::Spike, {r, h0, h1, a0, a1, 0}, colour};
}
constexpr Step Panel(double x0, double x1, double h0, double h1, double z0, double z1,
                     uint8_t colour) {
  return {Shape::Panel, {x0, x1, h0, h1, z0, z1}, colour};
}

Point OnCircle(double r, double degrees, double h) {
  const double a = degrees * std::numbers::pi / 180.0;
  return {r * std::cos(a), h, r * std::sin(a)};
}

// The angles a profile is swept over: 0..90 for a quarter, -90..90 for a half.
void Sweep(const Step& s, Symmetry symmetry, Faces& out) {
  const double first = symmetry == Symmetry::Half ? -90 : 0;
  const double* v = s.v;
  switch (s.shape) {
    case Shape::Ring:
      for (double a = first; a < 90; a += 45) {
        out.push_back({{OnCircle(v[0], a, v[1]), OnCircle(v[0], a + 45, v[1]),
                        OnCircle(v[2], a + 45, v[3]), OnCircle(v[2], a, v[3])},
                       s.colour,
                       0});
      }
      break;
    case Shape::Cap:
      for (double a = first; a < 90; a += 90) {
        out.push_back({{OnCircle(v[0], a, v[1]),
                        OnCircle(v[0], a + 45, v[1]),
                        OnCircle(v[0], a + 90, v[1]),
                        {0, v[2], 0}},
                       s.colour,
                       0});
      }
      break;
    case Shape::Sector:
      out.push_back({{OnCircle(v[0], v[4], v[1]), OnCircle(v[0], v[5], v[1]),
                      OnCircle(v[2], v[5], v[3]), OnCircle(v[2], v[4], v[3])},
                     s.colour,
                     0});
      break;
    case Shape::Spike: {
      const Point tip = OnCircle(v[0], (v[3] + v[4]) / 2, v[2]);
      out.push_back(
          {{OnCircle(v[0], v[3], v[1]), OnCircle(v[0], v[4], v[1]), tip, tip}, s.colour, 0});
      break;
    }
    case Shape::Panel: {
      const double x0 = v[0], x1 = v[1], h0 = v[2], h1 = v[3], z0 = v[4], z1 = v[5];
      if (x0 == x1) {
        out.push_back({{{x0, h0, z0}, {x0, h0, z1}, {x0, h1, z1}, {x0, h1, z0}}, s.colour, 0});
      } else if (z0 == z1) {
        out.push_back({{{x0, h0, z0}, {x1, h0, z0}, {x1, h1, z0}, {x0, h1, z0}}, s.colour, 0});
      } else {
        out.push_back({{{x0, h0, z0}, {x1, h0, z0}, {x1, h0, z1}, {x0, h0, z1}}, s.colour, 0});
      }
      break;
    }
  }
}

template <size_t N>
Faces Turned(const Step (&profile)[N], Symmetry symmetry) {
  Faces faces;
  for (const Step& s : profile) Sweep(s, symmetry, faces);
  return faces;
}

// Heights in world units above the board; the finished pieces stand pawn 74, rook 98,
// knight 112, bishop 124, queen 142 and king 166 high, at most 35 from their axis.

constexpr Step PawnProfile[] = {
    Ring(30, 0, 30, 6, Shade),    // foot
    Ring(30, 6, 18, 13, Light),   // top of the foot
    Ring(18, 13, 10, 36, Body),   // stem
    Cap(18, 38, 38, Light),       // collar
    Ring(10, 38, 16, 55, Body),   // head, lower half
    Ring(16, 55, 11, 68, Light),  // head, upper half
    Cap(11, 68, 74, Highlight),   // crown of the head
};

constexpr Step BishopProfile[] = {
    Ring(31, 0, 31, 7, Shade),         // foot
    Ring(31, 7, 20, 15, Light),        // top of the foot
    Ring(20, 15, 10, 62, Body),        // stem
    Cap(19, 64, 64, Light),            // collar
    Ring(10, 64, 17, 82, Body),        // mitre, widening
    Ring(17, 82, 13, 100, Light),      // mitre, closing
    Ring(13, 100, 4, 111, Highlight),  // mitre tip
    Ring(4, 111, 6, 117, Body),        // ball, lower half
    Cap(6, 117, 124, Highlight),       // ball, upper half
};

// Four merlons on the diagonals, so that each player sees two with a gap between them.
constexpr Step RookProfile[] = {
    Ring(32, 0, 32, 7, Shade),                  // foot
    Ring(32, 7, 23, 15, Light),                 // top of the foot
    Ring(23, 15, 20, 66, Body),                 // tower
    Ring(26, 66, 26, 86, Body),                 // turret
    Cap(26, 86, 86, Shade),                     // floor between the merlons
    Sector(27, 86, 27, 98, 25, 65, Body),       // merlon, outside
    Sector(27, 98, 20, 98, 25, 65, Highlight),  // merlon, top
};

// The cross lies across x, so both players see it face on.
constexpr Step KingProfile[] = {
    Ring(34, 0, 34, 8, Shade),                    // foot
    Ring(34, 8, 23, 17, Light),                   // top of the foot
    Ring(23, 17, 12, 88, Body),                   // stem
    Cap(21, 90, 90, Light),                       // collar
    Ring(12, 90, 20, 122, Body),                  // head
    Ring(20, 122, 9, 131, Light),                 // dome
    Cap(9, 131, 134, Highlight),                  // top of the dome
    Panel(0, 4.5, 128, 166, 4.5, 4.5, Light),     // upright, front
    Panel(4.5, 4.5, 128, 166, 0, 4.5, Body),      // upright, side
    Panel(4.5, 15, 144, 154, 4.5, 4.5, Light),    // arm, front
    Panel(4.5, 15, 154, 154, 0, 4.5, Highlight),  // arm, top
};

constexpr Step QueenProfile[] = {
    Ring(33, 0, 33, 8, Shade),           // foot
    Ring(33, 8, 22, 16, Light),          // top of the foot
    Ring(22, 16, 11, 80, Body),          // stem
    Ring(20, 82, 12, 86, Light),         // collar
    Ring(12, 86, 21, 116, Body),         // head, widening into the crown
    Spike(21, 116, 131, 0, 45, Light),   // crown points, two a quarter,
    Spike(21, 116, 131, 45, 90, Light),  // eight in all
    Cap(19, 116, 128, Shade),            // inside of the crown
    Ring(3, 127, 6, 133, Body),          // ball, lower half
    Cap(6, 133, 142, Highlight),         // ball, upper half
};

// ---------------------------------------------------------------------------------------------
// The knight: a turned foot and a horse's head cut out of a profile, faced +z.

constexpr Step KnightFoot[] = {
    Ring(30, 0, 30, 6, Shade),  // foot
    Cap(30, 6, 14, Light),      // top of the foot, under the horse
};

// The horse's outline on its centre plane (x = 0), going round from the back of the foot;
// each point also has its place on the flat side (inset from the outline, at half width w),
// so that the edges between the two are bevelled.
struct OutlinePoint {
  double z, h;     // on the centre plane
  double sz, sh;   // on the side
  double w;        // half width there
  uint8_t colour;  // of the bevel from this point to the next
};

constexpr OutlinePoint HorseOutline[] = {
    {-20, 10, -16, 12, 15, Shade},   // 0 back of the body; mane up to the poll
    {-24, 50, -19, 50, 14, Shade},   // 1 back of the neck
    {-15, 88, -12, 84, 12, Light},   // 2 poll, behind the ears
    {-3, 98, -3, 93, 9, Highlight},  // 3 top of the head
    {12, 90, 11, 86, 12, Light},     // 4 forehead
    {32, 68, 29, 67, 10, Body},      // 5 nose
    {35, 56, 31, 57, 9, Shade},      // 6 muzzle
    {22, 50, 21, 54, 10, Shade},     // 7 chin
    {4, 60, 5, 56, 12, Shade},       // 8 throat
    {10, 34, 6, 34, 14, Body},       // 9 chest
    {20, 10, 16, 12, 15, Shade},     // 10 front of the body, back to 0
};
constexpr int HorseOutlineCount = sizeof(HorseOutline) / sizeof(HorseOutline[0]);

struct SidePanel {
  int corner[4];  // outline points
  uint8_t colour;
};

constexpr SidePanel HorseSides[] = {
    {{0, 1, 9, 10}, Shade},  // body
    {{1, 2, 8, 9}, Body},    // neck
    {{2, 3, 4, 8}, Body},    // head
    {{4, 5, 7, 8}, Body},    // cheek
    {{5, 6, 7, 7}, Shade},   // muzzle
};

// Ears, eye, nostril and two tufts of the mane, given corner by corner.
const Face HorseDetails[] = {
    {{{4, 90, -9}, {12, 90, -7}, {9, 112, -10}, {9, 112, -10}}, Light, 0},       // ear
    {{{12.5, 82, 4}, {12.5, 82, 10}, {12.5, 78, 10}, {12.5, 78, 4}}, Shade, 0},  // eye
    {{{10, 62, 28}, {10, 62, 32}, {10, 59, 32}, {10, 59, 28}}, Shade, 0},        // nostril
    {{{3, 56, -22}, {3, 66, -20}, {3, 64, -30}, {3, 64, -30}}, Shade, 0},        // mane
    {{{3, 70, -20}, {3, 80, -16}, {3, 79, -25}, {3, 79, -25}}, Shade, 0},        // mane
};

Faces Knight() {
  Faces faces = Turned(KnightFoot, Symmetry::Half);
  for (int i = 0; i < HorseOutlineCount; ++i) {
    const OutlinePoint& a = HorseOutline[i];
    const OutlinePoint& b = HorseOutline[(i + 1) % HorseOutlineCount];
    faces.push_back(
        {{{0, a.h, a.z}, {0, b.h, b.z}, {b.w, b.sh, b.sz}, {a.w, a.sh, a.sz}}, a.colour, 0});
  }
  for (const SidePanel& side : HorseSides) {
    Face face = {{}, side.colour, 0};
    for (int k = 0; k < 4; ++k) {
      const OutlinePoint& p = HorseOutline[side.corner[k]];
      face.corner[k] = {p.w, p.sh, p.sz};
    }
    faces.push_back(face);
  }
  for (const Face& detail : HorseDetails) faces.push_back(detail);
  return faces;
}

// ---------------------------------------------------------------------------------------------
// Scenery: a chess clock beside the board, x and z in world units, h above the board. The clock
// stands at the +x side with its dials turned towards the board, so both players see them from the
// front, at an angle: a textured face shows its picture with the top row along corner 1 -> 2, so
// corner 1 is the dial's top edge at high z.

constexpr uint8_t CaseFront = 172;  // shows round the dials
constexpr uint8_t CaseTop = 174;
constexpr uint8_t CaseSide = 170;
constexpr uint8_t CaseBack = 168;
constexpr int16_t BlackDialTag = 1;
constexpr int16_t WhiteDialTag = 2;

constexpr double ClockFrontX = 945, ClockTopFrontX = 995, ClockBackX = 1060, ClockHeight = 140;
constexpr double ClockLowZ = 360, ClockMidZ = 500, ClockHighZ = 640;

Faces Scenery() {
  const double f = ClockFrontX, t = ClockTopFrontX, b = ClockBackX, h = ClockHeight;
  const double lo = ClockLowZ, mid = ClockMidZ, hi = ClockHighZ;
  return {
      // White's dial nearer White (high z), Black's nearer Black.
      {{{t, h, hi}, {t, h, mid}, {f, 0, mid}, {f, 0, hi}}, CaseFront, WhiteDialTag},
      {{{t, h, mid}, {t, h, lo}, {f, 0, lo}, {f, 0, mid}}, CaseFront, BlackDialTag},
      // Top and back in halves, one behind each dial: faces are drawn in the order of their
      // centres, and a face as long as the case could be drawn over a nearer one.
      {{{t, h, lo}, {b, h, lo}, {b, h, mid}, {t, h, mid}}, CaseTop, 0},
      {{{t, h, mid}, {b, h, mid}, {b, h, hi}, {t, h, hi}}, CaseTop, 0},
      {{{b, 0, lo}, {b, h, lo}, {b, h, mid}, {b, 0, mid}}, CaseBack, 0},
      {{{b, 0, mid}, {b, h, mid}, {b, h, hi}, {b, 0, hi}}, CaseBack, 0},
      {{{f, 0, lo}, {t, h, lo}, {b, h, lo}, {b, 0, lo}}, CaseSide, 0},
      {{{f, 0, hi}, {t, h, hi}, {b, h, hi}, {b, 0, hi}}, CaseSide, 0},
  };
}

// ---------------------------------------------------------------------------------------------
// Pictures: 1024 lines, one texel each, whose first byte is a palette index (0 transparent).

using Image = std::array<uint8_t, 32 * 32>;

constexpr uint8_t Transparent = 0;

bool WriteImage(const std::string& folder, const char* name, const Image& image) {
  std::string text;
  for (const uint8_t index : image) {
    if (index == '\n' || index == '\r') {
      std::fprintf(stderr, "kvm-gen: %s: palette index %d would end its line\n", name, index);
      return false;
    }
    text += static_cast<char>(index);
    text += '\n';
  }
  return WriteFile(folder, name, text);
}

struct Ink {
  char symbol;
  uint8_t index;
};

// Writes a 32x32 bitmap of symbols, each standing for a palette index.
template <size_t N>
bool WriteBitmap(const std::string& folder, const char* name, const char* const (&rows)[32],
                 const Ink (&inks)[N]) {
  Image image{};
  for (int r = 0; r < 32; ++r) {
    if (std::strlen(rows[r]) != 32) {
      std::fprintf(stderr, "kvm-gen: %s: row %d is not 32 symbols wide\n", name, r);
      return false;
    }
    for (int c = 0; c < 32; ++c) {
      const Ink* ink = std::find_if(std::begin(inks), std::end(inks),
                                    [&](const Ink& i) { return i.symbol == rows[r][c]; });
      if (ink == std::end(inks)) {
        std::fprintf(stderr, "kvm-gen: %s: no colour for '%c' in row %d\n", name, rows[r][c], r);
        return false;
      }
      image[32 * r + c] = ink->index;
    }
  }
  return WriteImage(folder, name, image);
}

// The clock dial, centred on texel (15, 16) where the game draws the hands (lengths 5 and 8,
// in dark grey, grey and red): white inside, a brass rim, dark hour marks outside the hands'
// reach; the case's colour shows round it.
constexpr const char* DialRows[32] = {
    "................................", "................................",
    "............RRRRRRR.............", ".........RRRRRRRRRRRRR..........",
    ".......RRRRRoooMoooRRRRR........", "......RRRRoooooMoooooRRRR.......",
    ".....RRRoMoooooMoooooMoRRR......", "....RRRoooMoooooooooMoooRRR.....",
    "...RRRoooooooooooooooooooRRR....", "...RRoooooooooooooooooooooRR....",
    "..RRRMoooooooooooooooooooMRRR...", "..RRooMoooooooooooooooooMooRR...",
    "..RRoooooooooooooooooooooooRR...", ".RRoooooooooooooooooooooooooRR..",
    ".RRoooooooooooooooooooooooooRR..", ".RRoooooooooooooooooooooooooRR..",
    ".RRMMMoooooooooooooooooooMMMRR..", ".RRoooooooooooooooooooooooooRR..",
    ".RRoooooooooooooooooooooooooRR..", ".RRoooooooooooooooooooooooooRR..",
    "..RRoooooooooooooooooooooooRR...", "..RRooMoooooooooooooooooMooRR...",
    "..RRRMoooooooooooooooooooMRRR...", "...RRoooooooooooooooooooooRR....",
    "...RRRoooooooooooooooooooRRR....", "....RRRoooMoooooooooMoooRRR.....",
    ".....RRRoMoooooMoooooMoRRR......", "......RRRRoooooMoooooRRRR.......",
    ".......RRRRRoooMoooRRRRR........", ".........RRRRRRRRRRRRR..........",
    "............RRRRRRR.............", "................................",
};
constexpr Ink DialInks[] = {{'.', Transparent}, {'R', 179}, {'o', 29}, {'M', 1}};

// Parquet in a basket weave: blocks of four planks, turned a quarter between neighbours, with
// a few darker streaks of grain. The joints are transparent and show the floor face's dark
// grey; row 31 and column 31 are joints too, since large faces never draw them.
constexpr const char* FloorRows[32] = {
    "aaaaaaaaaaaaaaa.bbb.ddd.aaa.ccc.", "aaassaaaaaaaaaa.bbb.ddd.aaa.ccc.",
    "aaaaaaaaaaaaaaa.bbb.ddd.aaa.ccc.", "................bbb.ddd.aaa.ccc.",
    "bbbbbbbbbbbbbbb.bbb.ddd.asa.ccc.", "bbbbbbbbbsssbbb.bbb.ddd.aaa.ccc.",
    "bbbbbbbbbbbbbbb.bbb.ddd.aaa.ccc.", "................bbb.ddd.aaa.ccc.",
    "ccccccccccccccc.bbb.dsd.aaa.ccc.", "ccccccccccccccc.bbb.dsd.aaa.ccc.",
    "ccscccccccccccc.bbb.dsd.aaa.ccc.", "................bbb.ddd.aaa.ccc.",
    "ddddddddddddddd.bbb.ddd.aaa.csc.", "ddddddssddddddd.bbb.ddd.aaa.csc.",
    "ddddddddddddddd.bbb.ddd.aaa.ccc.", "................................",
    "aaa.bbb.ccc.ddd.bbbbbbbbbbbbbbb.", "aaa.bbb.ccc.ddd.bbbbssbbbbbbbbb.",
    "asa.bbb.ccc.ddd.bbbbbbbbbbbbbbb.", "asa.bbb.ccc.ddd.................",
    "aaa.bbb.csc.ddd.ddddddddddddddd.", "aaa.bbb.ccc.ddd.ddddddddddddddd.",
    "aaa.bbb.ccc.ddd.ddddddddddsssdd.", "aaa.bbb.ccc.ddd.................",
    "aaa.bsb.ccc.ddd.aaaaaaaaaaaaaaa.", "aaa.bsb.ccc.ddd.aaaaaaaaaaaaaaa.",
    "aaa.bsb.ccc.ddd.aasaaaaaaaaaaaa.", "aaa.bbb.ccc.ddd.................",
    "aaa.bbb.ccc.dsd.ccccccccccccccc.", "aaa.bbb.ccc.dsd.ccccccccssccccc.",
    "aaa.bbb.ccc.ddd.ccccccccccccccc.", "................................",
};
constexpr Ink FloorInks[] = {{'.', Transparent}, {'a', 176}, {'b', 177},
                             {'c', 178},         {'d', 175}, {'s', 173}};

// The font: 3x5 glyphs in the 4x6 cells the menu text reads, leaving the cell's first column
// and first row empty, so the dots line up with the fixed minus, plus and full stop.
struct Glyph {
  char symbol;
  const char* rows[5];
};

constexpr Glyph Glyphs[] = {
    {'a', {".#.", "#.#", "###", "#.#", "#.#"}}, {'b', {"##.", "#.#", "##.", "#.#", "##."}},
    {'c', {".##", "#..", "#..", "#..", ".##"}}, {'d', {"##.", "#.#", "#.#", "#.#", "##."}},
    {'e', {"###", "#..", "##.", "#..", "###"}}, {'f', {"###", "#..", "##.", "#..", "#.."}},
    {'g', {".##", "#..", "#.#", "#.#", ".##"}}, {'h', {"#.#", "#.#", "###", "#.#", "#.#"}},
    {'i', {"###", ".#.", ".#.", ".#.", "###"}}, {'j', {"..#", "..#", "..#", "#.#", ".#."}},
    {'k', {"#.#", "#.#", "##.", "#.#", "#.#"}}, {'l', {"#..", "#..", "#..", "#..", "###"}},
    {'m', {"#.#", "###", "###", "#.#", "#.#"}}, {'n', {"##.", "#.#", "#.#", "#.#", "#.#"}},
    {'o', {".#.", "#.#", "#.#", "#.#", ".#."}}, {'p', {"##.", "#.#", "##.", "#..", "#.."}},
    {'q', {".#.", "#.#", "#.#", "##.", ".##"}}, {'r', {"##.", "#.#", "##.", "#.#", "#.#"}},
    {'s', {".##", "#..", ".#.", "..#", "##."}}, {'t', {"###", ".#.", ".#.", ".#.", ".#."}},
    {'u', {"#.#", "#.#", "#.#", "#.#", "###"}}, {'v', {"#.#", "#.#", "#.#", "#.#", ".#."}},
    {'w', {"#.#", "#.#", "###", "###", "#.#"}}, {'x', {"#.#", "#.#", ".#.", "#.#", "#.#"}},
    {'y', {"#.#", "#.#", ".#.", ".#.", ".#."}}, {'z', {"###", "..#", ".#.", "#..", "###"}},
    {'0', {"###", "#.#", "#.#", "#.#", "###"}}, {'1', {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', {"##.", "..#", ".#.", "#..", "###"}}, {'3', {"##.", "..#", ".#.", "..#", "##."}},
    {'4', {"#.#", "#.#", "###", "..#", "..#"}}, {'5', {"###", "#..", "##.", "..#", "##."}},
    {'6', {".##", "#..", "###", "#.#", "###"}}, {'7', {"###", "..#", ".#.", ".#.", ".#."}},
    {'8', {"###", "#.#", "###", "#.#", "###"}}, {'9', {"###", "#.#", "###", "..#", "##."}},
};

constexpr uint8_t FontDot = 29;

// A sheet holds its characters column by column: four cells down (rows 1, 8, 15, 22), five
// across (columns 1, 7, 13, 19, 25).
Image FontSheet(const char* characters) {
  Image image{};
  for (int k = 0; characters[k] != '\0'; ++k) {
    const int column = 1 + 6 * (k / 4), row = 1 + 7 * (k % 4);
    for (const Glyph& glyph : Glyphs) {
      if (glyph.symbol != characters[k]) continue;
      for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 3; ++c) {
          if (glyph.rows[r][c] == '#') image[32 * (row + 1 + r) + column + 1 + c] = FontDot;
        }
      }
    }
  }
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kvm-gen <folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "kvm-gen: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
    return 1;
  }
  const bool ok = WriteImage(folder, "font1.kvm", FontSheet("abcdefghijklmnopqrst")) &&
                  WriteImage(folder, "font2.kvm", FontSheet("uvwxyz1234567890")) &&
                  WriteBitmap(folder, "wijzerpl.kvm", DialRows, DialInks) &&
                  WriteBitmap(folder, "vloer.kvm", FloorRows, FloorInks) &&
                  WriteModel(folder, PawnFile, Turned(PawnProfile, Symmetry::Quarter)) &&
                  WriteModel(folder, BishopFile, Turned(BishopProfile, Symmetry::Quarter)) &&
                  WriteModel(folder, RookFile, Turned(RookProfile, Symmetry::Quarter)) &&
                  WriteModel(folder, KingFile, Turned(KingProfile, Symmetry::Quarter)) &&
                  WriteModel(folder, QueenFile, Turned(QueenProfile, Symmetry::Quarter)) &&
                  WriteModel(folder, KnightFile, Knight()) &&
                  WriteModel(folder, SceneryFile, Scenery());
  return ok ? 0 : 1;
}
