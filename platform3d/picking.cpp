#include "platform3d/picking.h"

uint8_t HoverSquare = NoHoverSquare;
uint8_t PickArmed = 0;
