#include "game3d/pacing.h"

#include <algorithm>
#include <chrono>

#include "engine/game.h"
#include "engine/search.h"
#include "engine/state.h"
#include "engine/timectl.h"
#include "game3d/settings.h"
#include "platform3d/platform.h"

namespace {

using Clock = std::chrono::steady_clock;

// What the last picture shown showed.
constexpr uint8_t NoView = 255;
uint8_t DrawnState = NoView, DrawnPage = NoView;
uint16_t DrawnSecond;
uint8_t DrawnTurn;
int16_t DrawnMoves;
uint64_t Passes = 0;

// What drawing a frame takes, as a slowly falling maximum, and what is kept back beyond it.
Clock::duration DrawReserve = std::chrono::milliseconds(2);
constexpr auto ReserveMargin = std::chrono::microseconds(500);
Clock::time_point DrawBegan;

Clock::time_point LastCameraStep;
uint64_t LastCameraPass = 0;
constexpr double MostCameraFrames = 4;  // a slow frame moves the camera at most this far

// Medium and beginner strength rest once the slices of their second have run.
bool EngineSearching() {
  return TurnState == 0 && (SearchStrength == 0 || !SliceGate);
}

// Keys and buttons that move the camera every frame while they are held.
bool CameraHeld() {
  return KeyDown[VkUp] || KeyDown[VkDown] || KeyDown[VkLeft] || KeyDown[VkRight] ||
         KeyDown[VkSpace] || RightButton;
}

bool ViewChanged() {
  return EventsArrived || MenuState != DrawnState || MenuPage != DrawnPage;
}

void NoteDrawn() {
  EventsArrived = 0;
  DrawnState = MenuState;
  DrawnPage = MenuPage;
  DrawnSecond = LastSeenSecond;
  DrawnTurn = TurnState;
  DrawnMoves = HalfMoveCount;
}

}  // namespace

bool PassMustRun() {
  ++Passes;
  bool must = ViewChanged() || EventsWaiting();
  if (MenuState == ShowingGame) {
    must = must || EngineSearching() || CameraHeld() || WallClockSecond() != LastSeenSecond;
  } else if (must) {
    NoteDrawn();  // a menu pass always draws
  }
  return must;
}

bool GameFrameMustDraw() {
  // The thinking panel changes with every slice; the clocks with every second.
  const bool must = ViewChanged() || ShowThinking || CameraHeld() ||
                    LastSeenSecond != DrawnSecond || TurnState != DrawnTurn ||
                    HalfMoveCount != DrawnMoves;
  if (must) NoteDrawn();
  return must;
}

void WaitForChange() {
  using std::chrono::milliseconds;
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto intoSecond = std::chrono::duration_cast<milliseconds>(now).count() % 1000;
  WaitForEvents(static_cast<uint32_t>(1000 - intoSecond + 1));
}

void SearchRestOfFrame(uint8_t* enginePlayed) {
  if (SearchStrength != 0) return;
  const auto keep =
      std::chrono::duration_cast<std::chrono::microseconds>(DrawReserve + ReserveMargin);
  while (!*enginePlayed && TurnState == 0 && FrameMicrosecondsLeft() > keep.count()) {
    *enginePlayed = SearchSlice();
    SecondTickWithThinking();
  }
}

void DrawStarted() {
  DrawBegan = Clock::now();
}

void DrawFinished() {
  DrawReserve = std::max(Clock::now() - DrawBegan, DrawReserve - DrawReserve / 32);
}

double CameraStepFrames() {
  const auto now = Clock::now();
  double frames = 1;
  if (LastCameraPass != 0 && LastCameraPass + 1 == Passes) {
    const std::chrono::duration<double> elapsed = now - LastCameraStep;
    frames = std::min(elapsed.count() * 60, MostCameraFrames);
  }
  LastCameraStep = now;
  LastCameraPass = Passes;
  return frames;
}
