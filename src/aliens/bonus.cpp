// Bonus pickups.

#include "aliens/aliens.h"
#include "core/core.h"

bonus_t bonus;

// Bonuses arrive with the game's economy.
void Bonus() {}
