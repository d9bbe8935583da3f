// Player ships: steering, shield, explosion and restart, player 2 joining.

#include "players/players.h"
#include "core/core.h"

player_t player, player2;
int pl_n, pl_n2;

// The ships arrive with the play itself; until then they stay off screen.
void PlayerInit() {}
void PlayerRestart() {}
void PlayerRestart2() {}
void Player2Enter() {}
void Player() {}
void Player2() {}
void PlayerHit() {}
void PlayerHit2() {}
