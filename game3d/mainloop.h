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
// Everything a game frame draws: the 3D view, then (after the camera has moved) the thinking
// panel and the move list when shown, and the end-of-game line.
void DrawGameFrame();

// The window, every table and the data, the kept settings, a new game (or the last game
// brought back, or the command line's), the first picture behind the menus.
// False when start-up failed and was reported.
bool StartKorvane3d();
// One pass of the main loop: a game frame or a menu frame. False once the player quits (by
// the menu, or by closing the window or a signal, which take the same way out).
bool MainLoopPass();
// The game in progress kept for the next start, everything given back, the leak report, the
// window closed.
void QuitKorvane3d();
// All three; the process's exit status.
int RunKorvane3d();
