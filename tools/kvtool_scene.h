// The real game scene for kvtool: built by the game's own code on the in-memory backend.
#pragma once
#include <cstdint>

#include "platform3d/surface.h"

struct SceneOptions {
  uint8_t side = 0;          // PlayerSide
  uint8_t surroundings = 1;  // the room
  uint8_t board = 0;         // BoardColour
  uint8_t pieces = 0;        // WhitePieceStyle
  bool camera = false;       // the camera below instead of the new game's
  double x = 0, y = 0, z = 0, yaw = 0, pitch = 0;
};

// Tables, data files, a new game with the options' settings and the camera; the hash table
// and BackBuffer taken. A bad data file ends the process with its message on stderr.
void BuildToolScene(const SceneOptions& options);
void ReleaseToolScene();
// One scene option at argv[*i], its value taken too; false when argv[*i] is not one. A bad
// value sets *error.
bool ParseSceneOption(int argc, char** argv, int* i, SceneOptions* options, const char** error);
// The 5-6-5 frame as an 8-bit RGB PNG.
bool WritePng(const char* path, const Surface& frame);
// The frame's centred square (as wide as the frame is high) scaled down to size x size, each
// pixel the rounded mean of the frame pixels its box covers, as an 8-bit RGB PNG: the icons.
// size is 1..frame.height.
bool WriteSquarePng(const char* path, const Surface& frame, int size);
