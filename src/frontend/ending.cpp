// Ending sequence.

#include "frontend/frontend.h"
#include "core/core.h"

// The ending arrives later; a finished game simply ends.
void End() {
    gameover = true;
}
