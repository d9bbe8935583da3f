// High-score table.

#include "frontend/frontend.h"
#include "core/core.h"

scoreentry_t scoretb[5];
FILE *fd;

// The table arrives with the play itself.
void ScoreBoard(int) {}
void ScoreBoardInit() {}
void ScoreBoardWrite() {}
void ScoreBoardShow(int) {}
void ScoreBoardInput(int, int) {}
