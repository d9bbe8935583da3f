// Shop.

#include "flow/flow.h"
#include "core/core.h"

// The shop arrives with the game's economy.
void Shop() {}
void Shop2() {}
