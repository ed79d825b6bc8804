#include "game3d/gamefile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <vector>

#include "engine/book.h"
#include "engine/game.h"
#include "engine/hash.h"
#include "engine/legal.h"
#include "engine/search.h"
#include "engine/setup.h"
#include "engine/state.h"
#include "engine/timectl.h"
#include "game3d/camera.h"
#include "game3d/panels.h"
#include "game3d/pgn.h"
#include "game3d/pgnread.h"
#include "game3d/scene.h"
#include "game3d/settings.h"
#include "game3d/textfile.h"
#include "platform3d/platform.h"

std::string StartupGameFile;

namespace {

constexpr size_t MaxFileBytes = 4 << 20;  // the first game of a large collection fits
constexpr const char* EngineName = "Korvane 3D v1.0";

// Everything of the game that a replay overwrites, so that a failed load can put it back.
struct Region {
  void* at;
  size_t size;
};
const Region GameRegions[] = {
    {GameBoard, sizeof GameBoard},
    {&BoardFlipped, sizeof BoardFlipped},
    {PieceValue, sizeof PieceValue},
    {&GameEpFile, sizeof GameEpFile},
    {&GameCastleRights, sizeof GameCastleRights},
    {&GameCastled, sizeof GameCastled},
    {&TurnState, sizeof TurnState},
    {&GameStatus, sizeof GameStatus},
    {&BookAllowed, sizeof BookAllowed},
    {&HalfMoveCount, sizeof HalfMoveCount},
    {GameRecord, sizeof GameRecord},
    {ResultText, sizeof ResultText},
    {MoveHistoryFrom, sizeof MoveHistoryFrom},
    {MoveHistoryTo, sizeof MoveHistoryTo},
    {&FiftyMoveCounter, sizeof FiftyMoveCounter},
    {HistKey1, sizeof HistKey1},
    {HistKey2, sizeof HistKey2},
    {HistKey3, sizeof HistKey3},
    {HistSide, sizeof HistSide},
    {HistRepeats, sizeof HistRepeats},
    {HashRandom1, sizeof HashRandom1},  // the history's keys are sums of these
    {HashRandom2, sizeof HashRandom2},
    {HashRandom3, sizeof HashRandom3},
    {&SecondsPerMove, sizeof SecondsPerMove},
    {&ThinkSeconds, sizeof ThinkSeconds},
    {&MaxDepth, sizeof MaxDepth},
    {&EngineClock, sizeof EngineClock},
    {&HumanClock, sizeof HumanClock},
    {&LastSeenSecond, sizeof LastSeenSecond},
};

struct SavedGame {
  std::vector<std::vector<char>> regions;
  std::string bestMove, date, timeControl, setUp;
};

SavedGame SaveGame() {
  SavedGame saved{{}, BestMoveText, GameDate, GameTimeControl, GameSetUp};
  for (const Region& r : GameRegions) {
    const char* bytes = static_cast<const char*>(r.at);
    saved.regions.emplace_back(bytes, bytes + r.size);
  }
  return saved;
}

void RestoreGame(const SavedGame& saved) {
  for (size_t i = 0; i < std::size(GameRegions); ++i) {
    std::memcpy(GameRegions[i].at, saved.regions[i].data(), GameRegions[i].size);
  }
  BestMoveText = saved.bestMove;
  GameDate = saved.date;
  GameTimeControl = saved.timeControl;
  GameSetUp = saved.setUp;
  // The search boards and lists were used by the replay: a search under way starts again.
  std::memcpy(Board, GameBoard, sizeof Board);
  EpFile[0] = GameEpFile;
  CastleRights[0] = GameCastleRights;
  Castled[0] = GameCastled;
  SearchSteps = 0;
  NodeCount = 0;
  IterationDone = SearchDone = 0;
}

// "move 12. Nf3" or "move 12... Nf6" for half-move k of a game whose first move is number
// first, made by Black when blackFirst.
std::string MoveName(size_t k, int first, bool blackFirst, const std::string& text) {
  const size_t ply = k + (blackFirst ? 1 : 0);
  return "move " + std::to_string(first + ply / 2) + (ply % 2 ? "... " : ". ") + text;
}

// A tag's date when it has the form YYYY.MM.DD (with '?' for what is unknown).
std::string DateOf(const std::string& tag) {
  bool valid = tag.size() == 10 && tag[4] == '.' && tag[7] == '.';
  for (size_t i = 0; valid && i < tag.size(); ++i) {
    valid = i == 4 || i == 7 || (tag[i] >= '0' && tag[i] <= '9') || tag[i] == '?';
  }
  return valid ? tag : "????.??.??";
}

// The set-up's FEN with both move counters, as the record writes it again.
std::string FullFen(const std::string& fen, const FenPosition& position) {
  std::istringstream in(fen);
  std::string fields, field;
  for (int i = 0; i < 4 && in >> field; ++i) fields += field + " ";
  return fields + std::to_string(position.halfMoveClock) + " " +
         std::to_string(position.fullMoveNumber);
}

// A new game from the file's start, then its moves; false with *error naming the move.
bool Replay(const PgnGame& game, bool engineWhite, int16_t seconds, std::string* error) {
  StartNewGame(engineWhite ? 1 : 0, seconds + 1);
  GameSetUp.clear();
  int first = 1;
  bool blackFirst = false;
  const std::string fen = PgnTag(game, "FEN");  // SetUp "1" comes with it; a FEN alone is taken
  if (!fen.empty()) {
    FenPosition position;
    std::string why;
    if (!ParseFen(fen, &position, &why)) {
      *error = "its set-up position is not valid (" + why + ")";
      return false;
    }
    InstallSetupPosition(position);
    // The side that has just moved cannot have left its king attacked.
    if (TurnState == 0 ? KingAttacked2() : KingAttacked1()) {
      *error = "its set-up position is not valid (the side not to move is in check)";
      return false;
    }
    FiftyMoveCounter = static_cast<uint8_t>(std::min(position.halfMoveClock, 100));
    first = position.fullMoveNumber;
    blackFirst = !position.whiteToMove;
    GameSetUp = FullFen(fen, position);
  }
  for (size_t k = 0; k < game.moves.size(); ++k) {
    const std::string name = MoveName(k, first, blackFirst, game.moves[k]);
    if (TurnState == 2) {
      *error = name + " comes after the end of the game";
      return false;
    }
    const uint8_t side = TurnState == 0 ? 1 : 2;
    std::string why;
    const int index = FindNamedMove(game.moves[k], side, &why);
    if (index < 0) {
      *error = name + " " + why;
      return false;
    }
    PlayGameMove(side, static_cast<uint8_t>(index));
  }
  if (game.cutShort.empty()) return true;
  *error = game.moves.empty() ? "it is cut short before its first move"
                              : "it is cut short after " + MoveName(game.moves.size() - 1, first,
                                                                    blackFirst, game.moves.back());
  *error += " (" + game.cutShort + ")";
  return false;
}

}  // namespace

bool LoadGame(const std::string& path, bool unfinishedOnly, std::string* error) {
  std::string text;
  const int failure = ReadTextFile(path, MaxFileBytes, &text);
  if (failure != 0 && failure != EFBIG) {
    *error = std::strerror(failure);
    return false;
  }
  text.resize(std::min(text.size(), MaxFileBytes));  // of a long collection, the first game
  PgnGame game;
  if (!ParsePgn(text, &game, error)) return false;
  if (unfinishedOnly && !game.result.empty() && game.result != "*") {
    error->clear();
    return false;
  }
  // This program's files name the engine; in another's it takes the side the player does not.
  const bool engineWhite = PgnTag(game, "White") == EngineName   ? true
                           : PgnTag(game, "Black") == EngineName ? false
                                                                 : PlayerSide == 1;
  std::string timeControl = PgnTag(game, "TimeControl");
  if (timeControl.empty()) timeControl = PgnTag(game, "Timecontrol");  // earlier files' spelling
  int16_t seconds = MoveTimeSetting;
  std::string label = TimeControlLabel;
  for (const TimeControl& entry : TimeControlTable) {
    if (timeControl != entry.label) continue;
    seconds = entry.secondsPerMove;
    label = entry.label;
  }

  const SavedGame saved = SaveGame();
  if (!Replay(game, engineWhite, seconds, error)) {
    RestoreGame(saved);
    return false;
  }
  if (unfinishedOnly && TurnState == 2) {
    RestoreGame(saved);
    error->clear();
    return false;
  }
  GameDate = DateOf(PgnTag(game, "Date"));
  GameTimeControl = label;
  return true;
}

bool LoadGameFile(const std::string& path) {
  std::string error;
  if (LoadGame(path, false, &error)) {
    ShowGameOnBoard();
    return true;
  }
  const std::string message = "The game could not be loaded from " + path + ":\r" + error +
                              ".\rThe game on the board goes on unchanged.";
  WarningBox("LOAD ERROR", message.c_str());
  return false;
}

void ShowGameOnBoard() {
  SquareSelected = 0;
  RefreshDisplayBoard();
  PlacePieces();
  PlaceNewGameCamera(PlayerSideInGame());
  UpdateMoveListScroll();
}
