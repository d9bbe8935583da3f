// Each boss's own fight, from its entrance to its kill and the next stage:
// how the body moves, what it launches when, how it takes the players' shots
// and how its projectiles take the ships; and what a fight for two adds.

#include "support/playfield.h"
#include "bosses/bosses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Place = std::pair<int, int>;
bosspart_t *const ARM[4] = {&boss1, &boss2, &boss3, &boss4};

// The stage of boss n loaded and its level (5n) begun, with the formation
// as the end of the wave before leaves it.
void StartBoss(int n, const PlayOptions &o = PlayOptions(), const std::string &script = "") {
    StartPlay(o, script);
    if (n > 1) {
        LoadData(n);
        al_hits = o.skill * n;
    }
    level = 5 * n;
    LevelInit();
    AliensInit(al_hits);
}

// n whole frames with the mother ship parked off the field and the bonus
// spent (a taken one rising out of sight): both run in every boss fight and
// would otherwise take shots, score or ships at random moments.
void Quiet(int n = 1) {
    for (int i = 0; i < n; i++) {
        ship.state = 0, ship.x = -48, ship_bomb.on = false;
        bonus.on = true, bonus.kind = 5, bonus.count = 0, bonus.y = -100;
        Frame();
    }
}

// One shot of player `who` on the middle of the body, run for one frame;
// true if the body lost a hit point.
bool ShootBody(int who = 1) {
    int hp = boss.hp;
    PlaceShot(who, 0, boss.x + boss.spr[0]->w / 2 - 2, boss.y + boss.spr[0]->h / 2 - 8);
    Quiet();
    return boss.hp < hp;
}

// Where the entrance ends, the projectile slots used; the hit points on
// Easy, the speed-up once they are below `below`, the kill bonus, and the
// image shown after a hit.
struct Boss {
    int ex, ey, bombs, hp, below, bonus, flash;
};
const Boss BOSS[6] = {{},
                      {100, 27, 5, 26, 13, 1500, 3},
                      {140, 82, 6, 50, 25, 3000, 3},
                      {140, 82, 4, 70, 37, 5000, 3},
                      {100, 37, 6, 80, 49, 8000, 2},
                      {100, 37, 12, 100, 61, 10000, 2}};

// A projectile group: slots lead..lead+n-1, launched together at offsets
// from the body when its rule holds for the body's place before the frame,
// moved by (dx, vy) a frame, all ended when the lead's y passes `limit`.
struct GroupRule {
    char when;  // 'x': x % m == 0, 'y': y % m == 0, '<': y < m, '*': whenever free,
    int m;      // 0: at random, with a fall speed 1..3 of its own (vy 0)
    int lead, n, vy, dx[5], limit, ox[5], oy[5];
};

// Single slots from `from` on, launched at (ox, 15) from the body: six at
// random, or (with vy) four one pixel apart, again as soon as they end.
std::vector<GroupRule> Singles(int from, int ox, int limit, int vy = 0) {
    std::vector<GroupRule> r;
    for (int i = 0; i < (vy ? 4 : 6); i++)
        r.push_back({vy ? '*' : '\0', 0, from + i, 1, vy, {0}, limit, {ox}, {15 + (vy ? i : 0)}});
    return r;
}

// Boss n started and followed for `frames` fight frames. The entrance zoom
// runs 65 frames from scale 536, with no projectiles, no animation, and a
// shot crossing the body takes nothing off it. Then the fight, both ships
// shielded: the body at each place {frame, x, y} of `at` and shown there
// (but for the second, which the pod may cover); every group launched
// exactly when its rule allows, from the body's place before the frame, else
// moved, else ended, and more than a few times; the groups from `random` on
// 1 in `odds` per free slot and frame. `each` checks more after every frame.
// Neither the shielded ship nor the idle second ship lost a life; then the
// last slot of the last group costs the open ship one.
void CheckFight(int n, int frames, const std::vector<std::array<int, 3>> &at,
                const std::vector<GroupRule> &rules, size_t random = 99, int odds = 0,
                const std::function<void(int t)> &each = nullptr) {
    StartBoss(n, PlayOptions(), "19000 press SPACE\n");  // leaves the shop, if it opens
    ASSERT_TRUE(bosshere && act_boss == n);
    EXPECT_EQ(boss.count, 536);
    int t = 0;
    for (; boss.phase == 0 && t < 200; t++) {
        if (t == 30) PlaceShot(1, 0, boss.x + 20, boss.y + 20);  // from the middle up past the top
        Quiet();
        for (int i = 0; i < BOSS[n].bombs; i++) EXPECT_FALSE(boss_bomb[i].on || boss.frame) << t;
    }
    EXPECT_EQ(t, 65);
    EXPECT_EQ(Place(boss.x, boss.y), Place(BOSS[n].ex, BOSS[n].ey));
    EXPECT_EQ(boss.hp, 2 * BOSS[n].hp) << "on Medium, and none lost in the entrance";

    std::vector<int> launches(rules.size());
    int random_launches = 0, random_chances = 0;
    size_t next = 0;
    for (t = 1; t <= frames && !::testing::Test::HasFailure(); t++) {
        bossbomb_t was[12];
        std::copy(boss_bomb, boss_bomb + 12, was);
        int bx = boss.x, by = boss.y;
        player.shield = 1 << 20;
        Quiet();
        EXPECT_EQ(boss.count, t);
        if (next < at.size() && at[next][0] == t) {
            EXPECT_EQ(Place(boss.x, boss.y), Place(at[next][1], at[next][2])) << "frame " << t;
            EXPECT_TRUE(n == 2 || ShownUncovered(boss.spr[boss.frame], boss.x, boss.y)) << "frame " << t;
            next++;
        }
        for (size_t i = 0; i < rules.size(); i++) {
            const GroupRule &g = rules[i];
            SCOPED_TRACE("fight frame " + std::to_string(t) + ", slot " + std::to_string(g.lead));
            bool flying = false;
            for (int k = 0; k < g.n; k++) flying = flying || was[g.lead + k].on;
            bool ended = flying && was[g.lead].y + (g.vy ? g.vy : was[g.lead].vy) > g.limit;
            const int v = g.when == 'x' ? bx : by;
            bool rule = g.when == '<' ? v < g.m : g.when == '*' || (g.m && v % g.m == 0);
            bool launched = (!flying || ended) && (g.when ? rule : boss_bomb[g.lead].on);
            bool moved = !launched && flying && !ended;
            launches[i] += launched;
            random_launches += i >= random && launched;
            random_chances += i >= random && (!flying || ended);
            for (int k = 0; k < g.n; k++) {
                const bossbomb_t &b = boss_bomb[g.lead + k], &o = was[g.lead + k];
                EXPECT_EQ(b.on, launched || (moved && o.on));
                EXPECT_TRUE(!launched || (b.x == bx + g.ox[k] && b.y == by + g.oy[k] &&
                                          (g.vy || (b.vy >= 1 && b.vy <= 3))));
                EXPECT_TRUE(!moved || (b.x == o.x + g.dx[k] && b.y == o.y + (g.vy ? g.vy : o.vy)));
            }
        }
        if (each) each(t);
    }
    EXPECT_EQ(next, at.size()) << "places not reached, or not in order";
    for (size_t i = 0; i < rules.size(); i++) EXPECT_GT(launches[i], 3) << "group " << i;
    EXPECT_TRUE(!odds || std::abs(double(random_launches) / random_chances * odds - 1) < 0.2)
        << random_launches << " of " << random_chances;

    EXPECT_EQ(lives + lives2, 2 * LIVES) << "shielded, and the idle second ship";
    const GroupRule &g = rules.back();  // its last slot on the open ship
    bossbomb_t &b = boss_bomb[g.lead + g.n - 1];
    for (bossbomb_t &other : boss_bomb) other.on = false, other.y = 0;
    boss.x = 150, boss.y = 20, player.shield = 0;  // the body far from the ship
    b.on = true, b.vy = g.vy ? g.vy : 2, b.x = player.x + 4 - g.dx[g.n - 1];
    b.y = FirstContact(player, b.spr[0], player.x + 4) - b.vy;
    Quiet();
    EXPECT_TRUE(player.dead && !b.on);
    EXPECT_EQ(lives, LIVES - 1);
}

// What the speed-up changes, by boss: the move interval, the angle step.
bool SpedUp(int n) {
    const bool rate = boss.rate == (n == 1 ? 2 : 1), step = boss.step == 0.04;
    return n == 1 || n == 4 ? rate : n == 5 ? rate && step : step;
}

// The body of boss n shot down: 5 points a hit with the hit sound, the flash
// image on the next frame, the speed-up below its threshold. The killing
// shot scores 5 and the kill bonus, sounds an explosion instead of a hit and
// is not restored; no money, and the projectiles freeze. Sixty explosions
// follow, each with its sound, and once the 51st has started the body's
// middle row shows nowhere that no explosion covers; the level advances on
// the very frame the count reaches 200, with the next stage, a fresh wave
// and ships, and the play goes on; after the fifth the ending ends the play.
void CheckKill(int n) {
    const Boss &b = BOSS[n];
    EXPECT_FALSE(SpedUp(n));
    int hits = 0, hp = boss.hp, was = score, plays = Sound(al_fx[1]).count, booms = Sound(al_fx[0]).count;
    for (int tries = 0; boss.hp > 1 && tries < 1000; tries++) {
        Shielded();
        if (!ShootBody()) continue;
        hits++;
        EXPECT_EQ(score, was + 5 * hits);
        EXPECT_FALSE(bullet[0].on) << "spent on the body";
        EXPECT_EQ(Sound(al_fx[1]), (Played{plays + hits, 50, 100, 1000}));
        EXPECT_EQ(SpedUp(n), boss.hp < b.below) << "after hit " << hits;
        Quiet();
        EXPECT_TRUE(n == 2 || ShownUncovered(boss.spr[b.flash], boss.x, boss.y));
    }
    ASSERT_EQ(hits + 1, hp);
    ASSERT_TRUE(ShootBody() && fl_des);
    EXPECT_EQ(score, was + 5 * hp + b.bonus);
    EXPECT_TRUE(bullet[0].on) << "the killing shot is not restored";
    EXPECT_EQ(Sound(al_fx[1]).count, plays + hits) << "the kill sounds as an explosion, not a hit";
    EXPECT_EQ(money, 1000) << "bosses pay no money";
    bossbomb_t frozen[12];
    std::copy(boss_bomb, boss_bomb + 12, frozen);
    bool drawn_late = false;
    try {
        while (bosshere) {
            ASSERT_EQ(Sound(al_fx[0]).count, booms + 1 + std::min(exp_n, 60));
            int before = exp_n;
            explosion_t ex[7];  // one that ends in this frame is still drawn in it
            std::copy(explosion, explosion + 7, ex);
            Quiet();
            EXPECT_TRUE(bosshere || before == 199) << "the advance waits for exactly 200";
            for (int i = 0; bosshere && i < 12; i++)
                EXPECT_TRUE(boss_bomb[i].on == frozen[i].on && boss_bomb[i].y == frozen[i].y) << "frozen";
            for (int x = boss.x, y = boss.y + boss.spr[0]->h / 2;
                 bosshere && before >= 51 && x < boss.x + boss.spr[0]->w; x++) {
                bool covered = DrawnOver(x, y);
                for (int j = 0; j < 7; j++)
                    for (const explosion_t &e : {ex[j], explosion[j]})
                        covered |= e.on && x >= e.x && x < e.x + 32 && y >= e.y && y < e.y + 32;
                drawn_late |= !covered && Shown(x, y) != Backdrop(x, y);
            }
        }
    } catch (const RunOver &) {
        // The ending leads to the high-score entry, which waits for keys.
    }
    EXPECT_FALSE(drawn_late);
    ASSERT_EQ(level, 5 * n + 1);
    if (n == 5) {
        EXPECT_TRUE(gameover) << "the ending ended the play";
        return;
    }
    EXPECT_TRUE((n != 1 || bgcol == 4) && al_hits == 2 * (n + 1)) << "the next stage's sheet and aliens";
    EXPECT_TRUE(player.x == 50 && player.shield >= 21) << "fresh ships";
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 5; r++)
            EXPECT_TRUE(!alien[c][r].dead && alien[c][r].y == 42 + 20 * r) << c << "," << r;
    Quiet(300);
    EXPECT_TRUE(!gameover && level == 5 * n + 1);
}

// One pixel per axis every third frame within x 0..261, y 10..100. The
// straight pair only at the top of the bounce (first on frame 490), the
// single beam on every 60th column, the spread pair on every 32nd.
TEST(Boss1, BouncesDropsEachKindOfBeamByItsRuleAndIsShotDown) {
    const std::vector<std::array<int, 3>> at = {{2, 100, 27},   {3, 101, 28},   {219, 173, 100},
                                                {483, 261, 12}, {489, 259, 10}, {1266, 0, 89}};
    CheckFight(1, 2990, at,
               {{'<', 11, 0, 2, 3, {0, 0}, 196, {3, 43}, {40, 40}},
                {'x', 60, 2, 1, 1, {0}, 206, {24}, {54}},
                {'x', 32, 3, 2, 2, {-1, 1}, 207, {13, 33}, {45, 45}}});
    CheckKill(1);
}

// The ellipse round (140, 45) from its lowest point, rightward, the pod
// circling it once in about 63 frames; six bombs dropped at random, 1 in 21.
TEST(Boss2, CirclesTheEllipseWithThePodOrbitingDropsBombsAtRandomAndIsShotDown) {
    const std::vector<std::array<int, 3>> at = {{1, 140, 85},  {2, 141, 84},  {17, 171, 82}, {48, 220, 68},
                                                {79, 239, 45}, {157, 142, 6}, {236, 41, 45}, {315, 140, 84}};
    CheckFight(2, 4000, at, Singles(0, 15, 206), 0, 21, [](int t) {
        EXPECT_TRUE(t != 1 || Place(boss1.x, boss1.y) == Place(142, 139));
        EXPECT_TRUE(t != 32 ||
                    (Place(boss1.x, boss1.y) == Place(201, 72) && ShownUncovered(boss1.spr[0], 201, 72)));
    });
    // The pod takes the shots that reach it, sparing the body: 4 points a
    // hit with the hit sound and its flash, 500 and an explosion for the
    // kill. Shot down, it falls one right and two down a frame, lands past
    // y 203 with an explosion and burns, drifting right, until it is gone;
    // only the burning pod costs a ship.
    int hp = boss.hp;
    for (int hits = 1; hits <= 20; hits++) {
        Shielded();
        boss1.angle = 0.0;  // right below the body: a shot there meets the pod and not the body
        PlaceShot(1, 0, boss.x + 14, boss.y + 57);
        Quiet();
        EXPECT_EQ(score, 4 * hits + (hits == 20 ? 500 : 0));
        EXPECT_FALSE(bullet[0].on) << "spent on the pod";
        EXPECT_EQ(Sound(al_fx[1]).count, std::min(hits, 19)) << "a hit sound for all but the kill";
        EXPECT_EQ(Sound(al_fx[0]).count, hits / 20);
        EXPECT_TRUE(hits == 20 || (Quiet(), ShownUncovered(boss1.spr[1], boss1.x, boss1.y)));
    }
    ASSERT_TRUE(boss1.falling && boss.hp == hp) << "the pod screened the body";
    int frames = 0;
    for (; boss1.falling && frames < 200; frames++) {
        Place p(boss1.x, boss1.y);
        for (bossbomb_t &b : boss_bomb) b.on = false;
        player.x = boss1.x + 8;
        player.shield = 0;
        Quiet();
        EXPECT_EQ(player.dead, !boss1.falling) << "the pod burns from the frame it lands on";
        EXPECT_TRUE(!boss1.falling || Place(boss1.x, boss1.y) == Place(p.first + 1, p.second + 2));
    }
    EXPECT_TRUE(boss1.phase == 1 && boss1.y > 203 && boss1.y <= 205) << boss1.y;
    EXPECT_EQ(Sound(al_fx[0]).count, 2);
    int x = boss1.x, burnt = 0;
    for (; boss1.phase == 1 && burnt < 200; burnt++) Quiet();
    EXPECT_TRUE(boss1.phase == 2 && boss1.x == x + burnt) << "drifting right until burnt out";
    CheckKill(2);
}

// Row 45 swept by x 140 + 100 sin, the arm hanging 30..60 below, swaying
// 4..16 about x + 25; four bombs one pixel apart falling two a frame and
// starting again from (15, 15 + i) once past y 200, shown in one of their
// two images.
TEST(Boss3, SweepsWithTheArmSwayingKeepsItsBundleOfBombsFallingAndIsShotDown) {
    const std::vector<std::array<int, 3>> at = {{1, 140, 45}, {80, 239, 45}, {157, 142, 45}, {237, 41, 45}};
    CheckFight(3, 600, at, Singles(0, 15, 200, 2), 99, 0, [](int t) {
        EXPECT_EQ(boss1.mode, 0) << "no ship under the arm";
        for (int k = 0; k < 4; k++) EXPECT_EQ(ARM[k]->y, 75 + 10 * k);
        const bossbomb_t &b = boss_bomb[3];
        // Drawn before its move; on top where it is below the arm.
        EXPECT_TRUE(!b.on || b.y < 133 || b.y > 150 || ShownUncovered(b.spr[0], b.x, b.y - 2) ||
                    ShownUncovered(b.spr[1], b.x, b.y - 2));
        for (int k = 0; t == 32 && k < 4; k++) EXPECT_EQ(ARM[k]->x, boss.x + 25 + 3 + 4 * k);
        EXPECT_TRUE(t != 32 || ShownUncovered(boss4.spr[0], boss4.x, boss4.y));
    });
    // Shots that touch the arm are spent on it, sounding a hit but scoring
    // nothing and sparing the body; the arm never dies. A strike starts when
    // the top segment's place of the frame before is exactly a ship's x (also
    // the idle second ship's record): each segment's drop grows by its own
    // step for 19 frames, then shrinks for 20, and the tip costs an open ship
    // under it at the bottom of the strike.
    int hp = boss.hp;
    Shielded();
    for (int k = 0; k < 4; k++) {
        PlaceShot(1, 0, ARM[k]->x + 4, ARM[k]->y);
        Quiet();
        EXPECT_FALSE(bullet[0].on || ARM[k]->dead) << "segment " << k + 1;
        EXPECT_EQ(Sound(al_fx[1]), (Played{k + 1, 50, 100, 1000}));
    }
    EXPECT_TRUE(score == 0 && boss.hp == hp) << "no points, and the body spared";
    Quiet(5);
    player.x = boss1.x + 1;
    Quiet();
    EXPECT_EQ(boss1.mode, 0) << "one pixel beside";
    player.x = boss1.x;
    Quiet();
    ASSERT_EQ(boss1.mode, 1);
    const int step[4] = {2, 3, 4, 5}, ships = lives;
    for (int f = 1; f <= 39; f++) {
        int d = f <= 19 ? f - 1 : 39 - f;
        for (int k = 0; k < 4; k++) EXPECT_EQ(ARM[k]->y, 75 + 10 * k + step[k] * d) << "strike frame " << f;
        EXPECT_EQ(boss1.mode, f < 19 ? 1 : f < 39 ? 2 : 0) << "strike frame " << f;
        EXPECT_EQ(lives, f < 18 ? ships : ships - 1) << "the tip reaches the ship on strike frame 18";
        player.x = boss4.x;  // under the tip, open from frame 15
        if (f == 15) player.shield = 0;
        for (bossbomb_t &b : boss_bomb) b.on = false;
        if (f < 39) Quiet();
    }
    player.x = 0;
    player2.x = boss1.x;
    Quiet();
    EXPECT_TRUE(boss1.mode == 1 && lives2 == LIVES);
    CheckKill(3);
}

// One pixel per axis every second frame over almost the whole field, down
// into the ships' row; the fan of five whenever the height is a multiple of
// 31, the heavy bomb on every 30th column. At the bottom of its bounce the
// body costs an open ship it touches.
TEST(Boss4, BouncesFiresItsFanAndBombByHeightAndColumnAndIsShotDown) {
    const std::vector<std::array<int, 3>> at = {{1, 100, 37},    {2, 101, 38},  {256, 228, 165},
                                                {288, 244, 149}, {568, 104, 9}, {776, 0, 113}};
    CheckFight(4, 2000, at,
               {{'x', 30, 0, 1, 3, {0}, 202, {30}, {20}},
                {'y', 31, 1, 5, 2, {0, 1, 2, -1, -2}, 220, {30, 30, 30, 30, 30}, {20, 20, 20, 20, 20}}});
    const int ships = lives;  // one lost to the projectile above
    for (int t = boss.count; lives == ships && boss.count < t + 700;) {
        for (bossbomb_t &b : boss_bomb) b.on = false;  // only the body
        player.x = boss.x + 30;
        player.shield = 0;
        Quiet();
    }
    EXPECT_EQ(lives, ships - 1);
    EXPECT_GE(boss.y + 58, 206) << "it reached the ships' row";
    Quiet(100);  // the wreck out of the way
    CheckKill(4);
}

// A bob of one pixel every second frame within y 9..120 while sweeping
// x 105 + 100 sin; fans at heights that are multiples of 28 and of 26, six
// long bombs at random, 1 in 31.
TEST(Boss5, BobsAndSweepsFiresTwoFansByHeightAndBombsAtRandomAndIsShotDown) {
    const std::vector<std::array<int, 3>> at = {{2, 106, 38},   {3, 108, 38},   {166, 90, 120},
                                                {168, 86, 119}, {200, 31, 103}, {388, 204, 9}};
    std::vector<GroupRule> rules = {{'y', 28, 0, 3, 3, {1, 0, -1}, 220, {30, 30, 30}, {20, 20, 20}},
                                    {'y', 26, 3, 3, 2, {1, 0, -1}, 220, {60, 60, 60}, {20, 20, 20}}};
    for (const GroupRule &g : Singles(6, 36, 206)) rules.push_back(g);
    CheckFight(5, 4000, at, rules, 2, 31);  // x 5 needs sin at -0.99
    CheckKill(5);
}

// Two projectiles on one ship in one frame cost one life: the first in slot
// order hits, a later one is not tested and flies on. A slot that has hit a
// ship keeps flying with its group, drawn and harmless. A player who is out
// runs no shots any more: one of theirs left in the air must not go on
// hurting the boss unseen, while the other player's shots still count.
TEST(BossFightForTwo, OneLifeAFrameSpentSlotsFlyOnAndAPlayerWhoIsOutHurtsNothing) {
    PlayOptions o;
    o.players = 2;
    StartBoss(1, o);
    Quiet(65);
    // The straight pair, falling 3 a frame, its second beam on the ship, and
    // the single beam, falling one, on it in the same frame.
    player.x = 20;  // the beams clear of the body
    boss_bomb[0].on = boss_bomb[1].on = boss_bomb[2].on = true;
    boss_bomb[1].x = player.x + 6;
    boss_bomb[0].x = boss_bomb[1].x - 40;
    boss_bomb[0].y = boss_bomb[1].y = FirstContact(player, boss_bomb[1].spr[0], player.x + 6) - 3;
    boss_bomb[2].x = player.x + 4;
    boss_bomb[2].y = FirstContact(player, boss_bomb[2].spr[0], player.x + 4) - 1;
    Unshield();
    Quiet();
    ASSERT_TRUE(player.dead && lives == 8);
    EXPECT_EQ(Sound(pl_fx[1]), (Played{1, 120, 150, 1000}));
    EXPECT_TRUE(!boss_bomb[1].on && boss_bomb[0].on && boss_bomb[2].on) << "the later one not tested";
    boss_bomb[2].on = false;
    player2.x = boss_bomb[1].x - 6, player2.shield = 0;  // the spent one passes right through it
    int y = boss_bomb[1].y;
    Quiet();
    EXPECT_TRUE(boss_bomb[1].y == y + 3 && ShownUncovered(boss_bomb[1].spr[0], boss_bomb[1].x, y));
    EXPECT_FALSE(player2.dead);
    lives = 0, gameover1 = true;
    int hp = boss.hp, was = score;
    Shielded();
    PlaceShot(1, 0, boss.x + 22, boss.y + 40);
    Quiet(20);
    EXPECT_TRUE(boss.hp == hp && score == was);
    EXPECT_TRUE(ShootBody(2));
    EXPECT_EQ(score2, 5);
}

}  // namespace
