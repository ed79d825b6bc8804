// The engine's whole state: fixed tables shared by every engine operation and both front ends.
// Side 1 is always the engine, side 2 the human; BoardFlipped says whether side 1 is White.
#pragma once
#include <cstdint>

// ---- Sizes and sentinels -------------------------------------------------------------------
constexpr int MoveListSize = 151;  // entries per ply row of the move lists
constexpr int ListPlies = 31;      // move-list plies 0..30
constexpr int PlySlots = 32;       // per-ply state arrays 0..31
constexpr uint8_t NoMoves = 200;   // a generator's answer for an empty row

// Move encoding in MoveTo: target square plus one of these offsets.
constexpr uint8_t CaptureFlag = 64;
constexpr uint8_t DoubleStepFlag = 128;
constexpr uint8_t PromotionFlag = 192;

// Piece codes: 10 * side + kind.
constexpr uint8_t Empty = 0;
constexpr uint8_t King1 = 10, Queen1 = 11, Rook1 = 12, Bishop1 = 13, Knight1 = 14, Pawn1 = 15;
constexpr uint8_t King2 = 20, Queen2 = 21, Rook2 = 22, Bishop2 = 23, Knight2 = 24, Pawn2 = 25;

// Scores, from side 1's point of view.
constexpr int16_t MateScore = 9999;
constexpr int16_t OpenBound = 25000;

// ---- Board and game position ----------------------------------------------------------------
extern uint8_t Board[64];        // the board the search works on
extern uint8_t GameBoard[64];    // the position of the game
extern uint8_t BoardFlipped;     // 1 when side 1 (the engine) plays White; square 0 is then h1
extern int16_t PieceValue[26];   // material by piece code, negative for side 2

// ---- Move lists, per ply ---------------------------------------------------------------------
extern uint8_t MoveFrom[ListPlies][MoveListSize];  // from-square of each entry
extern uint8_t MoveTo[ListPlies][MoveListSize];    // target square plus kind offset

// ---- Per-ply position state (make writes ply p+1 from ply p) -------------------------------
extern uint8_t EpFile[PlySlots];        // 0 none, else 1 + column of the pawn that double-stepped
extern uint8_t CastleRights[PlySlots];  // tens side 1, units side 2: 0 none, 1 short, 2 long, 3 both
extern uint8_t Castled[PlySlots];       // tens side 1, units side 2: 0 not, 1 short, 2 long

extern uint8_t GameEpFile;        // the game's own copies, taken into ply 0 before a search
extern uint8_t GameCastleRights;
extern uint8_t GameCastled;

// ---- Per-ply undo bytes, written by make at that ply -----------------------------------------
extern uint8_t UndoCaptured[PlySlots];
extern uint8_t UndoMover[PlySlots];

// ---- Flags and ordering hints set by the search ----------------------------------------------
extern uint8_t InCheck1[PlySlots];    // side 1's king attacked in the position at that ply
extern uint8_t InCheck2[PlySlots];
extern uint8_t KillerFrom[PlySlots];  // quiet move that caused a cutoff at that ply
extern uint8_t KillerTo[PlySlots];
extern uint8_t HashMoveFrom;          // move put first by the generator; equal bytes = none
extern uint8_t HashMoveTo;
extern uint8_t RecaptureSquare;       // target square of the recapture generators
extern int16_t RootLast;              // last legal index of the ply-0 list; -1 when none

// ---- Board terms, kept up to date by make and unmake -----------------------------------------
// What the evaluation and the hash key take from Board, changed square by square as make and
// unmake change Board, so that the search need not scan the board at every step. Whoever
// writes Board otherwise recounts them (CountBoardTerms, engine/terms.h). The sums are kept
// in unsigned arithmetic: out of step with Board (outside a search) they may drift without
// harm, and read as int32_t they are exact whenever they are in step.
struct BoardTerms {
  uint32_t material;          // PieceValue of every piece
  uint64_t squareTerms;       // four sums of one-square terms in 16-bit lanes (engine/terms.h)
  uint32_t key1, key2, key3;  // the three hash key sums (HashSums)
  uint8_t pieces;             // occupied squares
  uint64_t pieceBits[16];     // by code - 10: bit s set when square s holds that code
};
extern BoardTerms KeptTerms;

// ---- Search (resumable, sliced) --------------------------------------------------------------
extern uint8_t MoveIndex[PlySlots];      // index of the move being searched at each ply
extern uint8_t LastMove[PlySlots];       // last index of the ply's list, or NoMoves
extern uint8_t NodeOpen[PlySlots];       // node has its list generated and first move made
extern uint8_t ChildDone[PlySlots];      // the node one ply deeper has just finished
extern int16_t PlyScore[PlySlots];       // best score so far in the node
extern int16_t PlyBound[PlySlots];       // cutoff bound
extern uint8_t PlyBestFrom[PlySlots];    // best move found at the ply
extern uint8_t PlyBestTo[PlySlots];
extern int16_t MovesLeft[PlySlots];      // below 0 at the end: every move was illegal
extern int32_t PlyHashIndex[PlySlots];   // 3000000 = not keyed
extern uint32_t PlyHashCheck[PlySlots];

// RootRepeats has a slot for every possible root move, so a full root list stays in range.
extern uint8_t RootReply[MoveListSize];    // best ply-1 reply index per root move, 0 = none
extern uint8_t RootRepeats[MoveListSize];  // root move repeats a position of the history

extern uint8_t IterDepth;          // nominal depth of the running iteration
extern uint8_t LeafPly;            // deepest ply of the current path, never above 29
extern uint8_t CurrentDepth;       // depth the displays show
extern int32_t SearchSteps;        // 0 means the next slice starts a new search
extern int32_t NodeCount;
extern uint8_t IterationDone;
extern uint8_t SearchDone;
extern uint8_t BestRootIndex;      // root index of the move to play
extern uint8_t IterBestIndex;      // best root index of the running iteration
extern int16_t RootScore;          // score of the best root move so far
extern uint8_t HintFrom, HintTo;   // expected reply to the best root move
extern uint8_t ReplyFrom, ReplyTo; // best reply so far to the root move being searched
extern int16_t LeafScore;
extern uint8_t CutoffFlag;
extern uint8_t PieceCount;         // pieces on GameBoard at the start of the search
extern uint8_t ThinkingShown;      // thinking output enabled ("post")
extern int16_t LastShownScore;     // RootScore of the last thinking line; 22222 forces one
extern uint8_t ShownThisIteration;

// ---- Game status, shared with the front ends -------------------------------------------------
extern uint8_t TurnState;   // 0 engine to move, 1 human to move, 2 game over
extern uint8_t GameStatus;  // 0 nothing, 1 side 1 in check, 2 side 2 in check, 3 mate, 4 draw

// Square helpers.
constexpr int RowOf(int square) { return square >> 3; }
constexpr int ColumnOf(int square) { return square & 7; }
// Target square of an encoded MoveTo value.
constexpr int TargetOf(int moveTo) { return moveTo & 63; }
