// Helpers for the boss-fight tests: reaching a boss level the way the game
// does, running frames with the mother ship and the bonus kept out of the
// way, and shooting the body.
#pragma once

#include "support/playfield.h"
#include "bosses/bosses.h"

#include <string>

// The play set up as the title starts it, the stage of boss n loaded, and
// its boss level begun (level 5n, LevelInit) with the formation set up
// for it, as the end of the wave before does.
void StartBoss(int n, const PlayOptions &o = PlayOptions(), const std::string &script = "");

// One whole frame, with the mother ship parked off the field and the bonus
// spent: both run in every boss fight, and would otherwise take shots, score
// or ships at random moments.
void QuietFrame();
void QuietFrames(int n);

const int ENTRANCE = 65;  // frames the entrance zoom takes

// One shot of player `who` (slot 0) placed on the middle of the body, run
// for one frame; true if the body lost a hit point.
bool ShootBody(int who = 1);
