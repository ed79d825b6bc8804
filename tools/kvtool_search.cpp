// kvtool search and kvtool bench: the engine's own sliced search run on a FEN position.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "engine/board.h"
#include "engine/book.h"
#include "engine/game.h"
#include "engine/hash.h"
#include "engine/legal.h"
#include "engine/movegen.h"
#include "engine/notation.h"
#include "engine/random.h"
#include "engine/search.h"
#include "engine/setup.h"
#include "engine/state.h"
#include "engine/timectl.h"
#include "game3d/mainloop.h"
#include "game3d/scene.h"
#include "game3d/settings.h"
#include "platform3d/platform.h"
#include "tools/kvtool.h"
#include "tools/kvtool_scene.h"

namespace {

constexpr int DefaultSeconds = 10;
constexpr int DefaultMaxDepth = 30;
constexpr int ShallowestDepth = 2;
constexpr int DeepestDepth = 29;  // MaxDepth = depth + 1 stays within 30

int BadInput(const std::string& message) {
  std::fprintf(stderr, "kvtool search: %s\n", message.c_str());
  return 2;
}

bool ParseNumber(const char* text, long low, long high, long* value) {
  if (text == nullptr || *text == '\0') return false;
  char* end = nullptr;
  const long parsed = std::strtol(text, &end, 10);
  if (*end != '\0' || parsed < low || parsed > high) return false;
  *value = parsed;
  return true;
}

bool IsStandardStart() {
  uint8_t start[64];
  SetStartPosition(start);
  return std::memcmp(start, GameBoard, sizeof(start)) == 0 && GameCastleRights == 33 &&
         GameEpFile == 0;
}

// A new game, then the FEN's position with the engine to move. False with a message when the
// position cannot be searched.
bool SetUpPosition(const std::string& fen, int seconds, int maxDepth, std::string* error) {
  FenPosition position;
  if (!ParseFen(fen, &position, error)) return false;
  StartNewGame(position.whiteToMove ? 1 : 0, seconds);
  InstallSetupPosition(position);  // the engine is the side to move
  MaxDepth = static_cast<uint8_t>(maxDepth);
  BookAllowed = IsStandardStart() ? 1 : 0;

  std::memcpy(Board, GameBoard, sizeof(Board));
  if (KingAttacked2()) {
    *error = "the side not to move is in check";
    return false;
  }
  InCheck1[0] = KingAttacked1();
  RootLast = GenerateMoves1(0);
  if (RootLast != NoMoves) FilterLegal1();
  if (RootLast < 0 || RootLast >= NoMoves) {
    *error = KingAttacked1() ? "the side to move is checkmated: nothing to search"
                             : "the side to move is stalemated: nothing to search";
    return false;
  }
  ResetClocks();
  return true;
}

std::string PlayedMoveText() {
  std::string text = CoordinateText(PlayedFrom, PlayedTo);
  if (PlayedTo >= PromotionFlag) text += 'q';
  return text;
}

// --trace: what the search shows after every slice (steps, nodes, depths, root move under
// search, best move, score, hint and variation), folded into one FNV-1a hash per search, and
// its thinking lines in full without their seconds: the same output means the same search.
uint64_t TraceHash;
int TraceSlices;

void TraceText(const std::string& text) {
  for (const char c : text + "\n")
    TraceHash = (TraceHash ^ static_cast<uint8_t>(c)) * 1099511628211u;
}

void TraceThinkingLine(uint8_t depth) {
  const std::string line = "  think " + std::to_string(depth + 1) + " " +
                           std::to_string(RootScore) + " " + std::to_string(NodeCount) + " " +
                           PrincipalVariationText();
  std::printf("%s\n", line.c_str());
  TraceText(line);
}

void TraceSlice() {
  ++TraceSlices;
  char values[160];
  std::snprintf(values, sizeof values, "%d %d %d %d %d %d %d %d %d %d", SearchSteps, NodeCount,
                IterDepth, CurrentDepth, LeafPly, MoveIndex[0], BestRootIndex, RootScore, HintFrom,
                HintTo);
  TraceText(values + (" " + PrincipalVariationText()));
}

void StartTrace() {
  TraceHash = 14695981039346656037u;
  TraceSlices = 0;
  SetThinkingOutput(TraceThinkingLine);
  ThinkingShown = 1;
}

std::string TraceSummary() {
  char text[96];
  std::snprintf(text, sizeof text, " hint %s slices %d trace %016llx",
                CoordinateText(HintFrom, HintTo).c_str(), TraceSlices,
                static_cast<unsigned long long>(TraceHash));
  return text;
}

// Slices until the engine plays, with the clock ticking between them as in the console.
bool RunSearch(bool trace = false) {
  while (SearchSlice() == 0) {
    if (TurnState != 0) return false;
    if (trace) TraceSlice();
    SecondTick();
  }
  return true;
}

// Processor time of this process: the bench measures the engine, not the machine's load.
double ProcessSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void PrintThinkingLine(uint8_t depth) {
  std::printf("%s\n", ThinkingLineText(depth).c_str());
  std::fflush(stdout);
}

}  // namespace

int SearchCommand(int argc, char** argv) {
  std::string fen;
  bool haveFen = false;
  long depth = 0, seconds = DefaultSeconds, seed = -1;
  bool trace = false;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--trace") {
      trace = true;
    } else if (arg == "--depth" || arg == "--seconds" || arg == "--seed") {
      if (i + 1 >= argc) return BadInput(arg + " needs a number");
      const char* value = argv[++i];
      bool ok = false;
      if (arg == "--depth") ok = ParseNumber(value, ShallowestDepth, DeepestDepth, &depth);
      if (arg == "--seconds") ok = ParseNumber(value, 0, 86400, &seconds);
      if (arg == "--seed") ok = ParseNumber(value, 0, 4294967295L, &seed);
      if (!ok) {
        if (arg == "--depth") return BadInput("--depth wants a whole number from 2 to 29");
        if (arg == "--seconds") return BadInput("--seconds wants a whole number from 0 to 86400");
        return BadInput("--seed wants a whole number from 0 to 4294967295");
      }
    } else if (arg.rfind("--", 0) == 0) {
      return BadInput("unknown option " + arg);
    } else if (haveFen) {
      return BadInput("more than one position given (quote the FEN)");
    } else {
      fen = arg;
      haveFen = true;
    }
  }
  if (!haveFen)
    return BadInput(
        "usage: kvtool search \"<FEN>\" [--depth D] [--seconds S] [--seed N] [--trace]");

  HashAllocate();
  if (seed >= 0) {
    SeedRandom(static_cast<uint32_t>(seed));
  } else {
    SeedRandomFromClock();
  }
  std::string error;
  const int maxDepth = depth > 0 ? static_cast<int>(depth) + 1 : DefaultMaxDepth;
  if (!SetUpPosition(fen, static_cast<int>(seconds), maxDepth, &error)) return BadInput(error);

  SetThinkingOutput(PrintThinkingLine);
  if (trace) StartTrace();
  const bool played = RunSearch(trace);
  SetThinkingOutput(nullptr);
  if (!played) return BadInput("the engine could not move");
  std::printf("bestmove %s score %d depth %d steps %d%s\n", PlayedMoveText().c_str(), RootScore,
              LastCompletedDepth, LastSearchSteps, trace ? TraceSummary().c_str() : "");
  return 0;
}

namespace {

// Middle games first, then end games; fixed so that runs compare.
constexpr const char* BenchPositions[] = {
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4",
    "r2q1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2Q1RK1 w - - 0 10",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 b - - 0 10",
    "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - - 0 7",
    "rnbq1rk1/ppp1bppp/4pn2/3p4/2PP4/2N2N2/PP2PPPP/R1BQKB1R w KQ - 4 5",
    "2r3k1/pp3ppp/2n5/3p4/3P4/2N5/PP3PPP/2R3K1 b - - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r5k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",
    "8/8/4k3/8/2p5/8/B2K4/8 w - - 0 1",
    "8/5pk1/6p1/8/3P4/6P1/5PK1/8 w - - 0 1",
    "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1",
};
constexpr uint32_t BenchSeed = 20240501;
constexpr int BenchDepth = 6;

}  // namespace

namespace {

long long FramesIn3d = 0;  // passes of the 3D loop in the timed searches

// The engine's move through the 3D program's own loop: game frames at full strength, each
// drawing the room, the clocks and both panels between its slices.
bool RunSearchIn3d() {
  PlayerSide = BoardFlipped;  // the engine has White exactly when the player has Black
  RefreshDisplayBoard();
  PlacePieces();
  MenuState = ShowingGame;
  while (TurnState == 0) {
    ++FramesIn3d;
    if (!MainLoopPass()) return false;  // the window was closed
  }
  return true;
}

// With a display the frames go to a window, full screen, as korvane3d shows them, paced by
// the display; without one they are drawn and paced alike but shown nowhere.
bool OpenWindowIfDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((x11 == nullptr || *x11 == '\0') && (wayland == nullptr || *wayland == '\0')) return false;
  RegisterWindowClass();
  CreateMainWindow("Korvane 3D v1.0");
  WaitForCreate();
  EnterFullScreen(FrameWidth, FrameHeight);
  return true;
}

double WallSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The bench positions searched to a fixed depth; false after reporting a failure.
bool RunBench(bool in3d, long long* totalSteps, double* totalSeconds, bool trace = false) {
  SeedRandom(BenchSeed);
  // Killers outlive a search: start both runs from none, so they search the same trees.
  std::memset(KillerFrom, 0, sizeof KillerFrom);
  std::memset(KillerTo, 0, sizeof KillerTo);
  *totalSteps = 0;
  *totalSeconds = 0;
  int number = 0;
  for (const char* fen : BenchPositions) {
    ++number;
    std::string error;
    if (!SetUpPosition(fen, 0, BenchDepth + 1, &error)) {
      std::fprintf(stderr, "kvtool bench: position %d: %s\n", number, error.c_str());
      return false;
    }
    ThinkingShown = in3d ? 1 : 0;  // the 3D program keeps its thinking panel's text up to date
    if (trace) StartTrace();
    const double start = ProcessSeconds();
    const bool played = in3d ? RunSearchIn3d() : RunSearch(trace);
    const double seconds = ProcessSeconds() - start;
    if (!played) {
      std::fprintf(stderr, "kvtool bench: position %d: the engine could not move\n", number);
      return false;
    }
    *totalSteps += LastSearchSteps;
    *totalSeconds += seconds;
    if (trace) {
      std::printf("%2d  bestmove %-6s score %-6d depth %d  steps %-10d%s\n", number,
                  PlayedMoveText().c_str(), RootScore, LastCompletedDepth, LastSearchSteps,
                  TraceSummary().c_str());
      continue;
    }
    std::printf("%s%2d  bestmove %-6s score %-6d depth %d  steps %-10d %8.3f s\n",
                in3d ? "3d " : "", number, PlayedMoveText().c_str(), RootScore, LastCompletedDepth,
                LastSearchSteps, seconds);
    std::fflush(stdout);
  }
  return true;
}

double Rate(long long steps, double seconds) {
  return seconds > 0 ? static_cast<double>(steps) / seconds : 0;
}

}  // namespace

int BenchCommand(int argc, char** argv) {
  const bool with3d = argc == 1 && std::strcmp(argv[0], "--3d") == 0;
  const bool trace = argc == 1 && std::strcmp(argv[0], "--trace") == 0;
  if (argc != 0 && !with3d && !trace) {
    std::fprintf(stderr, "kvtool bench: usage: kvtool bench [--3d | --trace]\n");
    return 2;
  }
  if (trace) {
    // Everything but the times: two builds that search alike print the same text.
    HashAllocate();
    long long steps = 0;
    double seconds = 0;
    if (!RunBench(false, &steps, &seconds, true)) return 1;
    std::printf("total %lld steps\n", steps);
    return 0;
  }
  long long steps = 0;
  double seconds = 0;
  bool windowed = false;
  if (with3d) {
    BuildToolScene(SceneOptions{});
    ShowThinking = 1;
    ShowMoveList = 1;
    windowed = OpenWindowIfDisplay();
  } else {
    HashAllocate();
  }
  if (!RunBench(false, &steps, &seconds)) return 1;
  const double bare = Rate(steps, seconds);
  std::printf("total %lld steps in %.3f s: %.0f steps/s\n", steps, seconds, bare);
  if (!with3d) return 0;
  const double wallStart = WallSeconds();
  if (!RunBench(true, &steps, &seconds)) return 1;
  const double wall = WallSeconds() - wallStart;
  const double in3d = Rate(steps, seconds);
  std::printf("3d total %lld steps in %.3f s: %.0f steps/s (%lld frames %s in %.3f s wall)\n",
              steps, seconds, in3d, FramesIn3d, windowed ? "shown" : "drawn", wall);
  if (windowed) {
    LeaveFullScreen();
    DestroyMainWindow();
  }
  ReleaseToolScene();
  std::printf("3d / bare steps per second: %.2f\n", bare > 0 ? in3d / bare : 0);
  return 0;
}
