// The body of korvane3d: start-up, the game and menu frames, a new game, and quitting.
#pragma once
#include <cstdint>

// Trig and palette tables, an empty world and the font pictures. False when a data file failed
// (FatalError has then been shown; only a test backend returns from it).
bool BuildGameTables();
// The board, its frame and everything read from the model files.
bool BuildGameWorld();
// A new game with the current settings: engine, pieces and the camera for the player's side.
void NewGameStep();
// The 3D view of one game frame: square marks, clock faces, render (HoverSquare found anew).
void DrawGameView();
