// Helpers for the boss-fight tests: reaching a boss level the way the game
// does, running frames with the mother ship and the bonus kept out of the
// way, and placing shots and ships where a test needs them.
#pragma once

#include "support/playfield.h"
#include "bosses/bosses.h"

#include <string>
#include <vector>

// The play set up as the title starts it, the stage of boss n loaded, and
// its boss level begun (level 5n, LevelInit).
void StartBoss(int n, const PlayOptions &o = PlayOptions(), const std::string &script = "");

// One whole frame, with the mother ship parked off the field and the bonus
// spent: both run in every boss fight, and would otherwise take shots, score
// or ships at random moments.
void QuietFrame();
void QuietFrames(int n);

const int ENTRANCE = 65;  // frames the entrance zoom takes

void PastEntrance();  // runs the entrance; the next frame is the first of the fight
void Unshield();      // both ships hittable now
void Shielded();      // both ships shielded for a good while

// A flying shot of a player in slot i at (x, y); it will be tested where it
// is on the next boss frame (the boss runs before the ships move).
void PlaceShot(int who, int i, int x, int y);

// Lowest y at which sprite s, with its left edge at x, touches ship p where it
// stands; -1 if it never does between 100 and 221.
int FirstContact(const player_t &p, BITMAP *s, int x);

// The body's opaque pixel nearest its top-left corner, in sprite coordinates:
// a spot a shot surely hits.
struct Spot {
    int x, y;
};
Spot OpaqueBelow(BITMAP *s, int column);  // lowest opaque pixel of a column, or {-1, -1}

// A projectile group as a boss's rules give it: slots lead..lead+n-1,
// launched together at offsets from the body when `launch` holds for the
// body's place before the frame (null: at random, with a fall speed 1..3 of
// its own), moved by (dx, vy) a frame, all ended when the lead's y passes
// `limit`.
struct GroupRule {
    int lead, n;
    int vy;  // 0: the slot's own
    int dx[5];
    int limit;
    int ox[5], oy[5];
    bool (*launch)(int bx, int by);
};

struct GroupCount {
    int launches = 0;
    int chances = 0;  // frames on which the group was free to launch
};

// Runs fight frames with both ships shielded and checks every group on
// every frame: launched exactly when its rule allows (also in the frame it
// ended), from the body's place before the frame, else moved by its steps,
// else ended or idle. Stops early on the first frame with a mistake.
std::vector<GroupCount> FollowGroups(const std::vector<GroupRule> &rules, int frames);

// One shot of player `who` (slot 0) placed on the middle of the body, run
// for one frame; true if the body lost a hit point.
bool ShootBody(int who = 1);
