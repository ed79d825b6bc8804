// The world the player looks at: the board and its frame, the pieces of the current position
// copied from the templates, the optional room or dots, the square marks, and turning two
// presses on squares into the human's move.
#pragma once
#include <cstdint>

constexpr int BoardFaces = 64;         // faces 0..63: the squares
constexpr int FrameFacesEnd = 80;      // faces 64..79: the frame strips
constexpr int PieceFacesStart = 2000;  // faces 2000..3999: the pieces on the board
constexpr int PieceFacesLast = 3999;
constexpr int SurroundingsFaces = 1000;  // room or dots: SurroundingsStart + 0..1000

extern uint8_t DisplayBoard[64];  // the engine's GameBoard as last placed
extern uint8_t SquareSelected;    // a square has been picked
extern uint8_t SelectedSquare;    // its quad index 0..63

// The 64 squares (faces 0..63, quad 8j + i at face 8i + j) and the 16 frame strips.
void BuildBoardFaces();
// Every frame: square colours by BoardColour, the hover mark and the selection mark.
void ColourBoard();
// DisplayBoard := GameBoard.
void RefreshDisplayBoard();
// Faces 2000..3999 := the pieces of DisplayBoard, on the squares the player's side sees.
void PlacePieces();
// The room, the dots or nothing after SurroundingsStart, by Surroundings.
void BuildSurroundings();
// Engine square of a board quad, for the side the player has.
uint8_t HoverToSquare(uint8_t quad);
// The move attempt, then the selection, from the left button unless ClickLatch says its press
// was used elsewhere (Enter also tries the move). Returns 1 when the human's move was played.
uint8_t PickAndMove();
