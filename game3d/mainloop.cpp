#include "game3d/mainloop.h"

#include "engine/game.h"
#include "engine/hash.h"
#include "engine/random.h"
#include "engine/state.h"
#include "engine/timectl.h"
#include "game3d/camera.h"
#include "game3d/clocks.h"
#include "game3d/keep.h"
#include "game3d/menus.h"
#include "game3d/menutext.h"
#include "game3d/modelfile.h"
#include "game3d/pacing.h"
#include "game3d/panels.h"
#include "game3d/pgn.h"
#include "game3d/scene.h"
#include "game3d/settings.h"
#include "platform3d/faces.h"
#include "platform3d/memory.h"
#include "platform3d/palette.h"
#include "platform3d/picking.h"
#include "platform3d/platform.h"
#include "platform3d/render.h"
#include "platform3d/spans.h"
#include "platform3d/surface.h"
#include "platform3d/transform.h"
#include "platform3d/trig.h"

namespace {

constexpr char WindowTitle[] = "Korvane 3D v1.0";
constexpr uint32_t FirstPictureMilliseconds = 500;

void Present() {
  PresentFrame(BackBuffer.pixels);
  PumpMessages();
  WaitWhileInactive();
}

void AfterAMove() {
  RefreshDisplayBoard();
  PlacePieces();
  UpdateMoveListScroll();
}

void GameFrame() {
  uint8_t enginePlayed = 0;
  RunSearchForFrame(&enginePlayed);  // slices by SearchStrength while the engine is to move
  SearchRestOfFrame(&enginePlayed);
  if (enginePlayed) AfterAMove();
  if (PickAndMove()) UpdateMoveListScroll();
  SecondTickWithThinking();
  if (GameFrameMustDraw()) {
    DrawStarted();
    DrawGameFrame();
    DrawFinished();
    Present();
  } else {
    PumpMessages();
    WaitWhileInactive();
  }
  if (TakeEscape()) {
    MenuState = ShowingMenu;
    if (LeftButton) ClickLatch = 1;  // a press made on the board is no click in the menus
  }
}

// The menus draw over the last game picture; the scene is not rendered meanwhile.
void MenuPass() {
  MenuFrame();
  if (MenuState == ShowingGame) PlacePieces();
  if (Surroundings != BuiltSurroundings) BuildSurroundings();
  if (NewGameRequested) {
    NewGameRequested = 0;
    NewGameStep();
  } else {
    Present();
  }
}

}  // namespace

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
  NoteNewGame();
  RefreshDisplayBoard();
  PlacePieces();
  PlaceNewGameCamera(PlayerSide);
}

void DrawGameView() {
  ColourBoard();
  DrawClockFaces();
  ClearBackBuffer(0);
  HoverSquare = NoHoverSquare;
  TakeCameraCell();
  SelectFaces();
  RotateFaces();
  RenderScene();
}

void DrawGameFrame() {
  DrawGameView();
  MoveCamera(CameraStepFrames());
  if (ShowThinking) DrawThinkingPanel();
  if (ShowMoveList) DrawMoveList();
  if (TurnState == 2) DrawGameEnd();
}

bool StartKorvane3d() {
  PlatformStart();
  ClearKeys();
  HashAllocate();
  SeedRandomFromClock();

  RegisterWindowClass();
  CreateMainWindow(WindowTitle);
  WaitForCreate();
  if (!BuildGameTables()) return false;
  EnterFullScreen(FrameWidth, FrameHeight);
  PresentFrame(ScreenSurface.pixels);
  AllocSurface(&BackBuffer, FrameWidth, FrameHeight, true);
  ShowMouse(true);
  if (!BuildGameWorld()) return false;

  SetStartSettings();
  ReadSettingsFile();
  NewGameStep();
  BringBackGames();  // the last unfinished game, then a file named on the command line
  // The game behind the first menu, seen from a corner; leaving the menus the
  // player sits at the new game's place.
  PlaceStartCamera();
  DrawGameView();
  PresentFrame(BackBuffer.pixels);
  Delay(FirstPictureMilliseconds);
  PlaceNewGameCamera(PlayerSideInGame());
  return true;
}

bool MainLoopPass() {
  if (!PassMustRun()) {
    WaitForChange();
  } else if (MenuState == ShowingGame) {
    GameFrame();
  } else {
    MenuPass();
  }
  if (!LeftButton) ClickLatch = 0;
  if (QuitRequested) MenuState = QuitChosen;
  return MenuState != QuitChosen;
}

void QuitKorvane3d() {
  KeepLastGame();
  FreeSurface(&BackBuffer);
  LeaveFullScreen();
  LeakReport();
  DestroyMainWindow();
  HashRelease();
}

int RunKorvane3d() {
  if (!StartKorvane3d()) return 1;
  while (MainLoopPass()) {
  }
  QuitKorvane3d();
  return 0;
}
