// Intro sequence.

#include "frontend/frontend.h"
#include "core/core.h"

actor_t intro[6];

// The story arrives later.
void Intro() {}
