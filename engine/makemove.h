// Making and unmaking entry (ply, index) of the move lists on Board.
#pragma once
#include <cstdint>

// Make writes ply+1 of EpFile/CastleRights/Castled and ply of the undo bytes. An entry (0, 0),
// or any entry of a ply whose LastMove is NoMoves or above, only carries the state over.
void MakeMove1(uint8_t ply, uint8_t index);
void UnmakeMove1(uint8_t ply, uint8_t index);
void MakeMove2(uint8_t ply, uint8_t index);
void UnmakeMove2(uint8_t ply, uint8_t index);
