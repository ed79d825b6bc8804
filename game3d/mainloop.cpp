#include "game3d/mainloop.h"

#include "engine/game.h"
#include "game3d/camera.h"
#include "game3d/modelfile.h"
#include "game3d/scene.h"
#include "game3d/settings.h"
#include "platform3d/faces.h"
#include "platform3d/palette.h"
#include "platform3d/picking.h"
#include "platform3d/render.h"
#include "platform3d/spans.h"
#include "platform3d/transform.h"
#include "platform3d/trig.h"

bool BuildGameTables() {
  BuildTrigTables();
  BuildPalette();
  ResetFaces(0, PipelineFaces - 1);
  return LoadFontImages();
}

bool BuildGameWorld() {
  BuildBoardFaces();
  NextFace = FirstModelFace;
  return LoadModelData();
}

void NewGameStep() {
  SquareSelected = 0;
  // The engine plays White exactly when the player has Black.
  StartNewGame(PlayerSide, MoveTimeSetting + 1);
  RefreshDisplayBoard();
  PlacePieces();
  PlaceNewGameCamera(PlayerSide);
}

void DrawGameView() {
  ColourBoard();
  ClearBackBuffer(0);
  HoverSquare = NoHoverSquare;
  TakeCameraCell();
  SelectFaces();
  RotateFaces();
  RenderScene();
}
