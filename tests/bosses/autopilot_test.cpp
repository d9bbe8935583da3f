// Whole fights won by a simple autopilot for player 1 that sees only what a
// player sees (the boss, its projectiles, its own ship): it dodges what
// falls towards it, otherwise keeps under a part of the body it can hit and
// fires as fast as the fire key allows. Each boss is beaten from its level's
// start to the next level (the ending after the fifth).
//
// With EARTHGUARD_PREVIEWS set to a directory, the runs also save pictures
// of each fight and of its destruction there.

#include "support/bossfight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A stretch of the ships' row that something will cross soon.
struct Span {
    int x1, x2;  // first and last column
};

// Each projectile's place on the previous frame, for its speed.
bossbomb_t seen[12];

// The stretches of the ships' row that the boss's projectiles will reach
// within the next 40 frames, at the speed they fell since the last frame
// (also sideways), and whatever part of a boss reaches down to the row.
std::vector<Span> Threats() {
    std::vector<Span> t;
    for (int i = 0; i < 12; i++) {
        const bossbomb_t &b = boss_bomb[i];
        if (!b.on || !b.spr[0] || b.y >= 222) continue;
        int w = b.spr[0]->w, h = b.spr[0]->h;
        bool moving = seen[i].on && b.y > seen[i].y;
        int vy = moving ? b.y - seen[i].y : 1, dx = moving ? b.x - seen[i].x : 0;
        if (b.y + h < 206 && (206 - b.y - h + vy - 1) / vy > 40) continue;
        int x = b.x + dx * ((222 - b.y + vy - 1) / vy);  // where it passes the ships' row
        t.push_back({std::min(b.x, x) - 3, std::max(b.x, x) + w + 3});
    }
    if (act_boss == 2 && (boss1.phase == 1 || (boss1.falling && boss1.y > 150)))
        t.push_back({boss1.x - 4, boss1.x + 40});
    if (act_boss == 3 && boss1.mode != 0) t.push_back({boss4.x - 6, boss4.x + 19});
    if (act_boss == 4 && boss.y > 100) t.push_back({boss.x - 6, boss.x + 82});
    return t;
}

bool InDanger(int x) {
    for (const Span &s : Threats())
        if (x < s.x2 && s.x1 < x + 16) return true;
    return false;
}

// One frame of input: dodge to the nearest safe place if the current one
// is threatened, else move under the middle of the body (for the third
// boss the edge beside its arm); fire on every other frame.
void Autopilot(int frame) {
    int w = boss.spr[0]->w;
    int want = (act_boss == 3 ? boss.x + (boss.x < 140 ? w - 4 : 1) : boss.x + w / 2 - 2) - 6;
    int x = player.x;
    bool left = false, right = false;
    if (InDanger(x)) {
        for (int d = 1; d < 320 && !left && !right; d++) {
            left = x - d >= 0 && !InDanger(x - d);
            right = !left && x + d <= 304 && !InDanger(x + d);
        }
    } else {
        left = want < x - 1 && !InDanger(x - 2);
        right = want > x + 1 && !InDanger(x + 2);
    }
    std::copy(boss_bomb, boss_bomb + 12, seen);
    key[KEY_LEFT] = left ? -1 : 0;
    key[KEY_RIGHT] = right ? -1 : 0;
    key[KEY_SPACE] = frame % 2 ? -1 : 0;
}

void Save(const std::string &name) {
    const char *dir = getenv("EARTHGUARD_PREVIEWS");
    if (dir && *dir) SavePicture(std::string(dir) + "/" + name, HeadlessPicture(), HeadlessPalette());
}

// Fights boss n with the given arsenal; true if it is beaten. `lost` gets
// the ships lost.
bool Beat(int n, int weapon, int power, int speed, int ships, int *lost) {
    PlayOptions o;
    o.weapon = weapon;
    o.power = power;
    o.speed = speed;
    o.lives = ships;
    // Space far ahead leaves the shop, if it opens, on its first key wait.
    StartBoss(n, o, "19000 press SPACE\n");
    for (bossbomb_t &b : seen) b.on = false;
    std::string tag = "boss" + std::to_string(n) + "_w" + std::to_string(weapon);
    int frames = 0;
    *lost = 0;
    try {
        for (; bosshere && frames < 18000 && !gameover; frames++) {
            Autopilot(frames);
            int before = lives;
            QuietFrame();
            *lost += std::max(0, before - lives);
            if (boss.phase == 1 && boss.count == 90) Save(tag + "_fight.png");
            if (fl_des && exp_n >= 30 && exp_n < 37) Save(tag + "_destroyed.png");
        }
    } catch (const RunOver &) {
        // The fifth boss's ending leads to the high-score entry, which waits
        // for keys no script gives: the run ends there.
    }
    key[KEY_LEFT] = key[KEY_RIGHT] = key[KEY_SPACE] = 0;
    bool beaten = level == 5 * n + 1;
    printf("boss %d, weapon %d power %d: beaten %d in %d frames, %d ships lost, score %d\n", n, weapon, power,
           beaten, frames, *lost, score);
    return beaten;
}

// With the super-bonus arsenal (weapon 3 at power 3, speed 2, ten lives).
TEST(BossAutopilot, BeatsEveryBossWithTheSuperBonusWeapon) {
    for (int n = 1; n <= 5; n++) {
        SCOPED_TRACE("boss " + std::to_string(n));
        int lost = 0;
        EXPECT_TRUE(Beat(n, 3, 3, 2, 10, &lost));
        EXPECT_LT(lost, 10);
    }
    EXPECT_TRUE(gameover) << "the ending ended the play";
}

// With the starting weapon, on the first boss, as a new player meets it
// (with the menu's five lives).
TEST(BossAutopilot, BeatsTheFirstBossWithTheStartingWeapon) {
    int lost = 0;
    EXPECT_TRUE(Beat(1, 1, 1, 1, 5, &lost));
    EXPECT_LT(lost, 5);
    EXPECT_GE(score, 26 * 2 * 5 + 1500);
}

}  // namespace
