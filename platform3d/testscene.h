// A synthetic game scene for the renderer's benchmark and tests, laid out like the real one:
// 64 board squares and their frame, a textured room and the 32 pieces of the start position
// as turned solids of quads. About 2,500 faces.
#pragma once

constexpr int TestSceneSquaresStart = 0;    // 64 board squares, tags 100..163
constexpr int TestSceneFrameStart = 64;     // 16 frame strips
constexpr int TestSceneRoomStart = 1000;    // floor (texture slot 5), ceiling and four walls
constexpr int TestScenePiecesStart = 2000;  // the pieces
constexpr int TestSceneFloorSlot = 5;

// Resets FaceTable and fills it, fills texture slot 5 with a floor picture. Needs BuildPalette.
// Returns the number of faces written.
int BuildTestScene();

// Puts the camera where White's player sits at a new game: (450, -550, 1300), yaw 175,
// pitch 320, and sets CameraCell from it.
void PlaceTestCamera();
