// Helpers for the boss-fight tests: reaching a boss level the way the game
// does, running frames with the mother ship and the bonus kept out of the
// way, following the body and the projectile groups, and shooting the body.
#pragma once

#include "support/playfield.h"
#include "bosses/bosses.h"

#include <array>
#include <functional>
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

// Where the body is on a fight frame (its frame counter).
struct At {
    int t, x, y;
};

// A projectile group as a boss's rules give it: slots lead..lead+n-1,
// launched together at offsets from the body when its rule holds for the
// body's place before the frame, moved by (dx, vy) a frame, all ended when
// the lead's y passes `limit`.
struct GroupRule {
    char when;  // 'x': x % m == 0, 'y': y % m == 0, '<': y < m, '*': whenever free,
    int m;      // 0: at random, with a fall speed 1..3 of its own
    int lead, n;
    int vy;  // 0: the slot's own
    int dx[5];
    int limit;
    int ox[5], oy[5];
};

struct Followed {
    std::array<int, 4> box{{1 << 30, -(1 << 30), 1 << 30, -(1 << 30)}};  // x0, x1, y0, y1 the body kept to
    std::vector<int> launches, chances;  // per group; chances: frames it was free to launch
};

// Runs fight frames 1 to `frames` with both ships shielded: the body is at
// each place of `at` on its frame and, with `drawn`, shows there; every
// group is launched exactly when its rule allows (also in the frame it
// ended), from the body's place before the frame, else moved by its steps,
// else ended or idle; `each` (if given) checks more after every frame.
// Stops early on the first frame with a mistake.
Followed Follow(int frames, const std::vector<At> &at, const std::vector<GroupRule> &rules, bool drawn = true,
                const std::function<void(int t)> &each = nullptr);

// One shot of player `who` (slot 0) placed on the middle of the body, run
// for one frame; true if the body lost a hit point.
bool ShootBody(int who = 1);
