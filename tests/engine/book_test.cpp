// The opening book: proportions, orientation, the capture and castling replies, and a walk
// through every line that checks each reply against the legal moves.
#include "engine/book.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/board.h"
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

using Move = std::pair<uint8_t, uint8_t>;

// The legal moves of a side in the game position, as (from, encoded to).
std::vector<Move> LegalMoves(int side) {
  std::memcpy(Board, GameBoard, sizeof Board);
  EpFile[0] = GameEpFile;
  CastleRights[0] = GameCastleRights;
  InCheck1[0] = KingAttacked1();
  InCheck2[0] = KingAttacked2();
  RootLast = side == 1 ? GenerateMoves1(0) : GenerateMoves2(0);
  std::vector<Move> moves;
  if (RootLast == NoMoves) return moves;
  side == 1 ? FilterLegal1() : FilterLegal2();
  for (int i = 0; i <= RootLast; ++i) moves.emplace_back(MoveFrom[0][i], MoveTo[0][i]);
  return moves;
}

// Plays a line from the start through the game's own operations (HumanMove for the human,
// PlayGameMove for the engine). The reset is a light one: no hash clear per line.
void PlayFromStart(uint8_t engineWhite, const std::vector<Move>& line) {
  BoardFlipped = engineWhite;
  SetStartPosition(GameBoard);
  GameCastleRights = 33;
  GameEpFile = GameCastled = 0;
  HalfMoveCount = 0;
  FiftyMoveCounter = 0;
  ClearHistory();
  GameStatus = 0;
  TurnState = engineWhite ? 0 : 1;
  for (auto [from, to] : line) {
    if (TurnState == 1) {
      ASSERT_TRUE(HumanMove(from, static_cast<uint8_t>(TargetOf(to))));
      continue;
    }
    std::vector<Move> moves = LegalMoves(1);
    int found = -1;
    for (size_t i = 0; i < moves.size() && found < 0; ++i) {
      if (moves[i].first == from && TargetOf(moves[i].second) == TargetOf(to)) found = int(i);
    }
    ASSERT_GE(found, 0);
    LastMove[0] = static_cast<uint8_t>(RootLast);
    PlayGameMove(1, static_cast<uint8_t>(found));
  }
}

// Walks every line the book can reach: at the human's turn every legal move is tried, at
// the engine's turn every reply the book gives. Each reply must be legal, with the capture
// flag exactly when the legal move is a capture. Returns the number of book positions.
int WalkBook(uint8_t engineWhite) {
  int positions = 0;
  std::vector<std::vector<Move>> pending = {{}};
  while (!pending.empty()) {
    std::vector<Move> line = pending.back();
    pending.pop_back();
    PlayFromStart(engineWhite, line);
    if (TurnState == 1) {
      for (Move move : LegalMoves(2)) {
        std::vector<Move> next = line;
        next.push_back(move);
        PlayFromStart(engineWhite, next);
        // Every line has a reply for every BookRandom, so one lookup tells a match.
        if (BookLookup()) pending.push_back(next);
      }
      continue;
    }
    std::set<Move> replies;
    for (int i = 0; i < 200; ++i) {
      if (BookLookup()) replies.insert({BookFrom, BookTo});
    }
    if (replies.empty()) continue;
    ++positions;
    std::vector<Move> legal = LegalMoves(1);
    for (Move reply : replies) {
      auto same = [reply](Move m) {
        return m.first == reply.first && TargetOf(m.second) == TargetOf(reply.second);
      };
      auto match = std::find_if(legal.begin(), legal.end(), same);
      if (match == legal.end()) {
        ADD_FAILURE() << "book reply " << CoordinateText(reply.first, reply.second)
                      << " is illegal";
        continue;
      }
      auto isCapture = [](uint8_t to) { return to >= CaptureFlag && to < DoubleStepFlag; };
      EXPECT_EQ(isCapture(match->second), isCapture(reply.second));
      std::vector<Move> next = line;
      next.push_back(reply);
      pending.push_back(next);
    }
  }
  return positions;
}

TEST(Book, EveryLineIsReachableAndEveryReplyLegal) {
  NewGame(0);
  SeedRandom(99);
  // Engine as Black: 15 lines; as White: 14 (the three-way rows count once per answer).
  EXPECT_EQ(WalkBook(0), 15);
  EXPECT_EQ(WalkBook(1), 14);
}

}  // namespace
