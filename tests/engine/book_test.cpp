// The opening book: proportions, orientation, the capture and castling replies, and a walk
// through every line that checks each reply against the legal moves.
#include "engine/book.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/game.h"
#include "engine/hash.h"
#include "engine/legal.h"
#include "engine/movegen.h"
#include "engine/notation.h"
#include "engine/random.h"
#include "engine/state.h"

namespace {

void NewGame(uint8_t engineWhite) {
  HashAllocate();
  SeedRandom(11);
  StartNewGame(engineWhite, 0);
}

void SetRecord(const std::vector<std::string>& moves) {
  for (size_t k = 0; k < moves.size(); ++k) std::strcpy(GameRecord[k], moves[k].c_str());
  HalfMoveCount = static_cast<int16_t>(moves.size());
}

// Book reply by BookRandom over many draws, as "e2e4"-style coordinates (with "x" for the
// capture flag).
std::map<int, std::string> RepliesByRandom(int draws) {
  std::map<int, std::string> replies;
  for (int i = 0; i < draws; ++i) {
    if (!BookLookup()) continue;
    std::string text = CoordinateText(BookFrom, BookTo);
    if (BookTo >= CaptureFlag && BookTo < DoubleStepFlag) text.insert(2, "x");
    auto [it, fresh] = replies.emplace(BookRandom, text);
    EXPECT_EQ(it->second, text) << "one BookRandom value gave two replies";
  }
  return replies;
}

TEST(Book, WhiteFirstMoveProportions) {
  NewGame(1);
  SeedRandom(12345);
  std::map<std::string, int> counts;
  const int draws = 20000;
  for (int i = 0; i < draws; ++i) {
    ASSERT_EQ(BookLookup(), 1);
    ASSERT_LE(BookRandom, 9);
    ++counts[CoordinateText(BookFrom, BookTo)];
  }
  ASSERT_EQ(counts.size(), 4u);
  // 4:4:1:1, within two percentage points.
  EXPECT_NEAR(counts["e2e4"], draws * 0.4, draws * 0.02);
  EXPECT_NEAR(counts["d2d4"], draws * 0.4, draws * 0.02);
  EXPECT_NEAR(counts["c2c4"], draws * 0.1, draws * 0.02);
  EXPECT_NEAR(counts["g1f3"], draws * 0.1, draws * 0.02);
}

TEST(Book, ReplyFollowsTheRandomNumberInTheEnginesOrientation) {
  NewGame(1);
  auto first = RepliesByRandom(400);
  ASSERT_EQ(first.size(), 10u);
  for (int r = 0; r <= 3; ++r) EXPECT_EQ(first[r], "e2e4");
  for (int r = 4; r <= 7; ++r) EXPECT_EQ(first[r], "d2d4");
  EXPECT_EQ(first[8], "c2c4");
  EXPECT_EQ(first[9], "g1f3");
  // Stored squares are internal ones: e2 is 11 and e4 is 27 with the engine as White.
  SeedRandom(1);
  do BookLookup();
  while (BookRandom > 3);
  EXPECT_EQ(BookFrom, 11);
  EXPECT_EQ(BookTo, 27);

  NewGame(0);
  SetRecord({"e2-e4"});
  auto sicilian = RepliesByRandom(400);
  EXPECT_EQ(sicilian[0], "e7e5");
  EXPECT_EQ(sicilian[2], "e7e5");
  EXPECT_EQ(sicilian[3], "c7c5");
  EXPECT_EQ(sicilian[5], "c7c5");
  EXPECT_EQ(sicilian[6], "c7c6");
  EXPECT_EQ(sicilian[7], "c7c6");
  EXPECT_EQ(sicilian[8], "e7e6");
  EXPECT_EQ(sicilian[9], "e7e6");
}

TEST(Book, QueensGambitAcceptedCarriesTheCaptureFlag) {
  NewGame(0);
  SetRecord({"d2-d4", "d7-d5", "c2-c4"});
  auto replies = RepliesByRandom(400);
  EXPECT_EQ(replies[6], "d5xc4");
  EXPECT_EQ(replies[7], "d5xc4");
  EXPECT_EQ(replies[2], "c7c6");
  EXPECT_EQ(replies[9], "g8f6");
  SeedRandom(3);
  do BookLookup();
  while (BookRandom != 6);
  EXPECT_EQ(BookFrom, 27);  // d5 with the engine as Black
  EXPECT_EQ(BookTo, 34 + 64);
}

TEST(Book, RuyLopezEndsInCastling) {
  NewGame(1);
  SetRecord({"e2-e4", "e7-e5", "Ng1-f3", "Nb8-c6", "Bf1-b5", "a7-a6", "Bb5-a4", "Ng8-f6"});
  ASSERT_EQ(BookLookup(), 1);
  EXPECT_EQ(BookFrom, 3);  // the king's two-square move, e1-g1
  EXPECT_EQ(BookTo, 1);
}

TEST(Book, OnlyTheExactRecordAndCountMatch) {
  NewGame(0);
  SetRecord({"Ng1-f3", "d7-d5", "d2-d4"});  // a book position by another move order
  EXPECT_EQ(BookLookup(), 0);
  EXPECT_EQ(BookFrom, 0);
  EXPECT_EQ(BookTo, 0);

  SetRecord({"e2-e4", "e7-e5"});
  HalfMoveCount = 1;  // the record says more, the count decides
  EXPECT_EQ(BookLookup(), 1);
  HalfMoveCount = 2;  // the engine as Black has no line after two half-moves
  EXPECT_EQ(BookLookup(), 0);

  NewGame(1);
  BookAllowed = 0;  // a set-up game
  EXPECT_EQ(BookLookup(), 0);
}

// Plays a game from the start through the game's own operations: the human's moves with
// HumanMove, the engine's by finding them among side 1's legal moves.
bool PlayFromStart(uint8_t engineWhite, const std::vector<std::pair<uint8_t, uint8_t>>& moves) {
  StartNewGame(engineWhite, 0);
  for (auto [from, to] : moves) {
    if (TurnState == 1) {
      if (!HumanMove(from, to)) return false;
      continue;
    }
    std::memcpy(Board, GameBoard, sizeof Board);
    EpFile[0] = GameEpFile;
    CastleRights[0] = GameCastleRights;
    Castled[0] = GameCastled;
    InCheck1[0] = KingAttacked1();
    RootLast = GenerateMoves1(0);
    if (RootLast == NoMoves) return false;
    FilterLegal1();
    int found = -1;
    for (int i = 0; i <= RootLast && found < 0; ++i) {
      if (MoveFrom[0][i] == from && TargetOf(MoveTo[0][i]) == TargetOf(to)) found = i;
    }
    if (found < 0) return false;
    LastMove[0] = static_cast<uint8_t>(RootLast);
    PlayGameMove(1, static_cast<uint8_t>(found));
  }
  return true;
}

// What a move played into the game changes, so that a trial move can be taken back.
struct GameSnapshot {
  uint8_t board[64];
  uint8_t epFile = GameEpFile, castleRights = GameCastleRights, castled = GameCastled;
  int16_t halfMoves = HalfMoveCount;
  char record[12][GameTextSize];
  uint8_t turn = TurnState, status = GameStatus, fifty = FiftyMoveCounter;
  int32_t key1[HistorySize], key2[HistorySize], key3[HistorySize], side[HistorySize];
  uint8_t repeats[HistorySize];

  GameSnapshot() {
    std::memcpy(board, GameBoard, sizeof board);
    std::memcpy(record, GameRecord, sizeof record);
    std::memcpy(key1, HistKey1, sizeof key1);
    std::memcpy(key2, HistKey2, sizeof key2);
    std::memcpy(key3, HistKey3, sizeof key3);
    std::memcpy(side, HistSide, sizeof side);
    std::memcpy(repeats, HistRepeats, sizeof repeats);
  }
  void Restore() const {
    std::memcpy(GameBoard, board, sizeof board);
    GameEpFile = epFile;
    GameCastleRights = castleRights;
    GameCastled = castled;
    HalfMoveCount = halfMoves;
    std::memcpy(GameRecord, record, sizeof record);
    TurnState = turn;
    GameStatus = status;
    FiftyMoveCounter = fifty;
    std::memcpy(HistKey1, key1, sizeof key1);
    std::memcpy(HistKey2, key2, sizeof key2);
    std::memcpy(HistKey3, key3, sizeof key3);
    std::memcpy(HistSide, side, sizeof side);
    std::memcpy(HistRepeats, repeats, sizeof repeats);
  }
};

// Walks every line the book can reach: at the human's turn every legal move is tried, at
// the engine's turn every reply the book gives. Each reply must be legal, with the capture
// flag exactly when the legal move is a capture.
int WalkBook(uint8_t engineWhite) {
  HashAllocate();
  int positions = 0;
  std::vector<std::vector<std::pair<uint8_t, uint8_t>>> pending = {{}};
  while (!pending.empty()) {
    auto line = pending.back();
    pending.pop_back();
    EXPECT_TRUE(PlayFromStart(engineWhite, line));
    if (TurnState == 1) {
      std::memcpy(Board, GameBoard, sizeof Board);
      EpFile[0] = GameEpFile;
      CastleRights[0] = GameCastleRights;
      InCheck2[0] = KingAttacked2();
      RootLast = GenerateMoves2(0);
      FilterLegal2();
      std::vector<std::pair<uint8_t, uint8_t>> moves;
      for (int i = 0; i <= RootLast; ++i) moves.emplace_back(MoveFrom[0][i], MoveTo[0][i]);
      GameSnapshot before;
      for (auto move : moves) {
        uint8_t to = static_cast<uint8_t>(TargetOf(move.second));
        EXPECT_TRUE(HumanMove(move.first, to));
        // Every line has a reply for every BookRandom, so one lookup tells a match.
        if (BookLookup()) {
          auto next = line;
          next.push_back({move.first, to});
          pending.push_back(next);
        }
        before.Restore();
      }
      continue;
    }
    std::set<std::pair<uint8_t, uint8_t>> replies;
    for (int i = 0; i < 200; ++i) {
      if (BookLookup()) replies.insert({BookFrom, BookTo});
    }
    if (replies.empty()) continue;
    ++positions;
    // The reply must be one of side 1's legal moves here.
    std::memcpy(Board, GameBoard, sizeof Board);
    EpFile[0] = GameEpFile;
    CastleRights[0] = GameCastleRights;
    InCheck1[0] = KingAttacked1();
    RootLast = GenerateMoves1(0);
    FilterLegal1();
    for (auto [from, to] : replies) {
      bool legal = false;
      for (int i = 0; i <= RootLast; ++i) {
        if (MoveFrom[0][i] != from || TargetOf(MoveTo[0][i]) != TargetOf(to)) continue;
        bool listCapture = MoveTo[0][i] >= CaptureFlag && MoveTo[0][i] < DoubleStepFlag;
        bool bookCapture = to >= CaptureFlag && to < DoubleStepFlag;
        EXPECT_EQ(listCapture, bookCapture) << CoordinateText(from, to);
        legal = true;
      }
      EXPECT_TRUE(legal) << "book reply " << CoordinateText(from, to) << " after " << line.size()
                         << " half-moves";
      auto next = line;
      next.push_back({from, to});
      if (next.size() < 10) pending.push_back(next);
    }
  }
  return positions;
}

TEST(Book, EveryLineIsReachableAndEveryReplyLegal) {
  SeedRandom(99);
  // Engine as Black: 15 lines; as White: 14 (the three-way rows count once per answer).
  EXPECT_EQ(WalkBook(0), 15);
  EXPECT_EQ(WalkBook(1), 14);
}

}  // namespace
