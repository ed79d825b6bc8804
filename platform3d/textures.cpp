#include "platform3d/textures.h"

uint16_t TextureSlots[TextureSlotCount][TextureWords];
