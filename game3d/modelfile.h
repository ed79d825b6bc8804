// The eleven .kvm data files: four 32x32 pictures and seven face lists. Piece models are
// completed by mirroring, scaled, and parked far outside the world as templates that the scene
// copies onto the board.
#pragma once
#include <cstdint>
#include <string>

constexpr int ImageTexels = 1024;          // 32 x 32, row by row
constexpr uint8_t MissingTexelIndex = 26;  // what a line past the end of a picture reads as
constexpr int FaceRecordValues = 15;
constexpr int16_t ParkOffset = 30000;  // templates stand this far along x
constexpr int FirstModelFace = 80;     // after the board squares and the frame strips

// The piece templates in ModelStart's order.
enum PieceModel : uint8_t { PawnModel, KnightModel, BishopModel, RookModel, QueenModel, KingModel };
constexpr int PieceModelCount = 6;
constexpr int16_t ModelFaces[PieceModelCount] = {48, 54, 64, 44, 64, 64};

extern uint16_t FontImage1[ImageTexels];  // glyphs a..t
extern uint16_t FontImage2[ImageTexels];  // glyphs u..z and the digits
extern int16_t ModelStart[PieceModelCount];
extern int16_t NextFace;           // the FaceTable entry the next record goes to
extern int16_t SurroundingsStart;  // first entry after the fixed scenery

// Reads "font1.kvm" and "font2.kvm" into the font images.
// Reads the clock face (slot 3), the floor (slot 5), the six piece models and the scenery,
// appending at NextFace (which must stand at FirstModelFace), and sets ModelStart and
// SurroundingsStart.
// Both stop the program through FatalError, naming the file, the line and the fault, when a
// file is missing or a value is not a whole number; they return false only if FatalError
// returned (a test's backend). A damaged picture does not stop them: it is read as the format
// reads it (missing lines take MissingTexelIndex), and one line on stderr names the file and
// the line of its first fault.
bool LoadFontImages();
bool LoadModelData();

// Where a data file is read from: the folder named by KORVANE_DATA alone when it is set;
// otherwise the current directory, the program's own folder, then <program>/../share/korvane.
// Returns the first path that exists (the bare name when none does).
std::string DataFilePath(const char* name);
