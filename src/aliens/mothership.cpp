// Mother ship.

#include "aliens/aliens.h"
#include "core/core.h"

mothership_t ship;
shipbomb_t ship_bomb;

// The mother ship arrives with the game's economy.
void ShipInit(int) {}
void Ship() {}
void ShipDraw() {}
void ShipBomb() {}
void ShipCollision() {}
