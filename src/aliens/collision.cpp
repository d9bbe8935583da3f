// Shots against aliens.

#include "aliens/aliens.h"
#include "core/core.h"

// Collisions arrive with the play itself.
void Collision() {}
void Collision2() {}
