#include "engine/state.h"

uint8_t Board[64];
uint8_t GameBoard[64];
uint8_t BoardFlipped;
int16_t PieceValue[26];

uint8_t MoveFrom[ListPlies][MoveListSize];
uint8_t MoveTo[ListPlies][MoveListSize];

uint8_t EpFile[PlySlots];
uint8_t CastleRights[PlySlots];
uint8_t Castled[PlySlots];
uint8_t GameEpFile;
uint8_t GameCastleRights;
uint8_t GameCastled;

uint8_t UndoCaptured[PlySlots];
uint8_t UndoMover[PlySlots];

uint8_t InCheck1[PlySlots];
uint8_t InCheck2[PlySlots];
uint8_t KillerFrom[PlySlots];
uint8_t KillerTo[PlySlots];
uint8_t HashMoveFrom;
uint8_t HashMoveTo;
uint8_t RecaptureSquare;
int16_t RootLast;

BoardTerms KeptTerms;

uint8_t MoveIndex[PlySlots];
uint8_t LastMove[PlySlots];
uint8_t NodeOpen[PlySlots];
uint8_t ChildDone[PlySlots];
int16_t PlyScore[PlySlots];
int16_t PlyBound[PlySlots];
uint8_t PlyBestFrom[PlySlots];
uint8_t PlyBestTo[PlySlots];
int16_t MovesLeft[PlySlots];
int32_t PlyHashIndex[PlySlots];
uint32_t PlyHashCheck[PlySlots];

uint8_t RootReply[MoveListSize];
uint8_t RootRepeats[MoveListSize];

uint8_t IterDepth;
uint8_t LeafPly;
uint8_t CurrentDepth;
int32_t SearchSteps;
int32_t NodeCount;
uint8_t IterationDone;
uint8_t SearchDone;
uint8_t BestRootIndex;
uint8_t IterBestIndex;
int16_t RootScore;
uint8_t HintFrom, HintTo;
uint8_t ReplyFrom, ReplyTo;
int16_t LeafScore;
uint8_t CutoffFlag;
uint8_t PieceCount;
uint8_t ThinkingShown;
int16_t LastShownScore;
uint8_t ShownThisIteration;

uint8_t TurnState;
uint8_t GameStatus;
