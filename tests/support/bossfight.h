// Helpers for the boss-fight tests: reaching a boss level the way the game
// does, running frames with the mother ship and the bonus kept out of the
// way, following the body and the projectile groups, and shooting the body.
#pragma once

#include "support/playfield.h"
#include "bosses/bosses.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

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

void PastEntrance();  // runs the entrance; the next frame is the first of the fight

// Where the body is on a fight frame (its frame counter).
struct At {
    int t, x, y;
};
// The box the body kept to.
struct Box {
    int x0 = 1 << 30, x1 = -(1 << 30), y0 = 1 << 30, y1 = -(1 << 30);
};
bool operator==(const Box &a, const Box &b);
void PrintTo(const Box &b, std::ostream *os);

// Runs fight frames 1 to `frames` with both ships shielded: the body is at
// each place of `at` on its frame and, with `drawn`, shows there; `each`
// (if given) checks more after every frame.
Box FollowBody(const std::vector<At> &at, int frames, bool drawn = true,
               const std::function<void(int t)> &each = nullptr);

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

// Launches at random of a set of groups: launches per free frame.
double RandomRate(const std::vector<GroupCount> &c, size_t from = 0);

// One shot of player `who` (slot 0) placed on the middle of the body, run
// for one frame; true if the body lost a hit point.
bool ShootBody(int who = 1);
