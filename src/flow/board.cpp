// Status bar.

#include "flow/flow.h"
#include "core/core.h"

// The numbers arrive with the play itself.
void Board() {}
