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
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using Place = std::pair<int, int>;
bosspart_t *const ARM[4] = {&boss1, &boss2, &boss3, &boss4};

// The play set up as the title starts it, the stage of boss n loaded, and
// its boss level begun (level 5n, LevelInit) with the formation set up
// for it, as the end of the wave before does.
void StartBoss(int n, const PlayOptions &o = PlayOptions(), const std::string &script = "") {
    StartPlay(o, script);
    if (n > 1) {
        LoadData(n);
        al_hits = o.skill * n;
    }
    level = 5 * n;
    LevelInit();
    AliensInit(al_hits);  // as the end of the wave before leaves it
}

// One whole frame, with the mother ship parked off the field and the bonus
// spent: both run in every boss fight, and would otherwise take shots, score
// or ships at random moments.
void QuietFrame() {
    ship.state = 0;
    ship.x = -48;
    ship_bomb.on = false;
    bonus.on = true;  // a taken bonus rising out of sight: none can appear or pay
    bonus.kind = 5;
    bonus.count = 0;
    bonus.y = -100;
    Frame();
}

void QuietFrames(int n) {
    for (int i = 0; i < n; i++) QuietFrame();
}

const int ENTRANCE = 65;  // frames the entrance zoom takes

// One shot of player `who` (slot 0) placed on the middle of the body, run
// for one frame; true if the body lost a hit point.
bool ShootBody(int who = 1) {
    BITMAP *s = boss.spr[0];
    int hp = boss.hp;
    PlaceShot(who, 0, boss.x + s->w / 2 - 2, boss.y + s->h / 2 - 8);
    QuietFrame();
    return boss.hp < hp;
}

// Where the entrance ends, the projectile slots used; the hit points on
// Easy, the speed-up once they are below `below`, the kill bonus, and the
// image shown after a hit.
struct Boss {
    int ex, ey, bombs;
    int hp, below, bonus, flash;
};
const Boss BOSS[6] = {{},
                      {100, 27, 5, 26, 13, 1500, 3},
                      {140, 82, 6, 50, 25, 3000, 3},
                      {140, 82, 4, 70, 37, 5000, 3},
                      {100, 37, 6, 80, 49, 8000, 2},
                      {100, 37, 12, 100, 61, 10000, 2}};

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

// Where each kind of projectile is, relative to the place it should touch
// the ship after one frame's move.
struct Kind {
    int boss, slot;
    int vy, dx;  // its move in one frame
};
const Kind KINDS[] = {{1, 0, 3, 0},  {1, 1, 3, 0}, {1, 2, 1, 0},  {1, 3, 2, -1}, {1, 4, 2, 1}, {2, 0, 2, 0},
                      {2, 5, 2, 0},  {3, 0, 2, 0}, {3, 3, 2, 0},  {4, 0, 3, 0},  {4, 1, 2, 0}, {4, 3, 2, 2},
                      {4, 5, 2, -2}, {5, 0, 3, 1}, {5, 2, 3, -1}, {5, 4, 2, 0},  {5, 6, 2, 0}, {5, 11, 2, 0}};

// Slot k.slot placed to touch ship p with its next move; every other slot
// off, a group's lead above its limit.
bossbomb_t &Aim(const Kind &k, const player_t &p) {
    for (bossbomb_t &other : boss_bomb) other.on = false, other.y = 0;
    bossbomb_t &b = boss_bomb[k.slot];
    b.on = true;
    b.vy = k.vy;
    b.x = p.x + 4 - k.dx;
    b.y = FirstContact(p, b.spr[0], p.x + 4) - k.vy;
    return b;
}

// Boss n started and followed for `frames` fight frames. The entrance zoom
// runs 65 frames from scale 537 by 1001 a frame, drifting down, with
// nothing else happening: no projectiles, no animation, and a shot crossing
// the growing body flies on as if nothing were there. Then the fight, with
// both ships shielded: the frame counter from 1, the body at each place of
// `at` on its frame and shown there (but for the second, which the pod may
// cover), within `box` (x and y limits); every group launched exactly when
// its rule allows (also in the frame it ended), from the body's place
// before the frame, else moved by its steps, else ended or idle, and more
// than a few times; the groups from `random` on 1 in `odds` per free slot
// and frame. `each` (if given) checks more after every frame. Last, every
// kind of projectile of the boss costs an open ship a life, but neither a
// shielded one nor the idle second ship, whose record lies at its start
// place with a shield that never runs down.
void CheckFight(int n, int frames, const std::vector<At> &at, std::array<int, 4> box,
                const std::vector<GroupRule> &rules, size_t random = 99, int odds = 0,
                const std::function<void(int t)> &each = nullptr) {
    StartBoss(n, PlayOptions(),
              "19000 press SPACE\n");  // leaves the shop, if it opens, on its first key wait
    ASSERT_TRUE(bosshere && act_boss == n);
    EXPECT_EQ(boss.count, 536);
    int t = 0;
    for (; boss.phase == 0 && t < 200; t++) {
        if (t == 30) PlaceShot(1, 0, boss.x + 20, boss.y + 20);  // from the middle up past the top
        int y = boss.y, shot = bullet[0].y;
        fixed scale = boss.count + 1;
        QuietFrame();
        if (t == ENTRANCE - 1) {
            EXPECT_EQ(scale, 537 + 1001 * 64);
            BITMAP *ref = create_bitmap_ex(8, 200, 200);  // the body, nearly full size
            clear_to_color(ref, 0);
            rotate_scaled_sprite(ref, boss.spr[0], 0, 0, 0, scale);
            EXPECT_TRUE(ShownAt(ref, boss.x, y));
            destroy_bitmap(ref);
        }
        EXPECT_TRUE(t < 30 || !bullet[0].on || bullet[0].y == shot - bul_speed);
        for (int i = 0; i < BOSS[n].bombs; i++) EXPECT_FALSE(boss_bomb[i].on);
        EXPECT_EQ(boss.frame, 0);
    }
    EXPECT_EQ(t, ENTRANCE);
    EXPECT_EQ(Place(boss.x, boss.y), Place(BOSS[n].ex, BOSS[n].ey));
    EXPECT_EQ(boss.hp, 2 * BOSS[n].hp) << "on Medium, and none lost in the entrance";

    std::array<int, 4> kept{{1 << 30, -(1 << 30), 1 << 30, -(1 << 30)}};
    std::vector<int> launches(rules.size());
    int random_launches = 0, random_chances = 0;
    size_t next = 0;
    for (t = 1; t <= frames && !::testing::Test::HasFailure(); t++) {
        bossbomb_t was[12];
        std::copy(boss_bomb, boss_bomb + 12, was);
        int bx = boss.x, by = boss.y;
        player.shield = 1 << 20;
        QuietFrame();
        EXPECT_EQ(boss.count, t);
        kept = {{std::min(kept[0], boss.x), std::max(kept[1], boss.x), std::min(kept[2], boss.y),
                 std::max(kept[3], boss.y)}};
        if (next < at.size() && at[next].t == t) {
            EXPECT_EQ(Place(boss.x, boss.y), Place(at[next].x, at[next].y)) << "frame " << t;
            EXPECT_TRUE(n == 2 || ShownUncovered(boss.spr[boss.frame], boss.x, boss.y)) << "frame " << t;
            next++;
        }
        for (size_t i = 0; i < rules.size(); i++) {
            const GroupRule &g = rules[i];
            SCOPED_TRACE("fight frame " + std::to_string(t) + ", group led by slot " +
                         std::to_string(g.lead));
            bool flying = false;
            for (int k = 0; k < g.n; k++) flying = flying || was[g.lead + k].on;
            const bossbomb_t &lead = was[g.lead];
            bool ended = flying && lead.y + (g.vy ? g.vy : lead.vy) > g.limit;
            bool free = !flying || ended;
            bool rule = g.when == 'x'   ? bx % g.m == 0
                        : g.when == 'y' ? by % g.m == 0
                        : g.when == '<' ? by < g.m
                                        : g.when == '*';
            bool launched = free && (g.when ? rule : boss_bomb[g.lead].on);
            launches[i] += launched;
            random_launches += i >= random && launched;
            random_chances += i >= random && free;
            for (int k = 0; k < g.n; k++) {
                const bossbomb_t &b = boss_bomb[g.lead + k], &o = was[g.lead + k];
                if (launched) {
                    EXPECT_TRUE(b.on && b.x == bx + g.ox[k] && b.y == by + g.oy[k]);
                    EXPECT_TRUE(g.vy || (b.vy >= 1 && b.vy <= 3)) << b.vy;
                } else if (flying && !ended) {
                    EXPECT_TRUE(b.on == o.on && b.x == o.x + g.dx[k] && b.y == o.y + (g.vy ? g.vy : o.vy));
                } else {
                    EXPECT_FALSE(b.on);
                }
            }
        }
        if (each) each(t);
    }
    EXPECT_EQ(next, at.size()) << "places not reached, or not in order";
    EXPECT_EQ(kept, box);
    for (size_t i = 0; i < rules.size(); i++) EXPECT_GT(launches[i], 3) << "group " << i;
    EXPECT_TRUE(!odds || std::abs(double(random_launches) / random_chances * odds - 1) < 0.2)
        << random_launches << " of " << random_chances;

    EXPECT_EQ(player2.x, 270);
    for (const Kind &k : KINDS)
        for (int c = 0; k.boss == n && c < 3; c++) {  // player 1 shielded, then open; the idle ship
            SCOPED_TRACE("slot " + std::to_string(k.slot) + ", case " + std::to_string(c));
            boss.x = 150;  // the body far from the ship (the fourth would touch it)
            boss.y = 20;
            player.x = 40;
            player.dead = false;
            player.shield = c == 1 ? 0 : 1000;
            int before = lives + lives2;
            bossbomb_t &b = Aim(k, c == 2 ? player2 : player);
            QuietFrame();
            EXPECT_EQ(lives + lives2, before - (c == 1));
            EXPECT_EQ(player.dead, c == 1);
            EXPECT_EQ(b.on, c != 1);
        }
}

// What the speed-up changes, by boss: the move interval, the angle step.
bool SpedUp(int n) {
    const bool rate = boss.rate == (n == 1 ? 2 : 1), step = boss.step == 0.04;
    return n == 1 || n == 4 ? rate : n == 5 ? rate && step : step;
}

// The body of boss n shot down: 5 points a hit with the hit sound, the flash image
// on the next frame, the speed-up below its threshold. The killing shot
// scores 5 and the kill bonus, sounds an explosion instead of a hit, is not
// restored, and ends the frame's tests: a projectile on the idle ship,
// opened for it, waits, and from then on the projectiles are frozen. No
// money. Sixty explosions follow over the body, each with its sound and its
// seven images, the body shrinking under them and gone (with the pod or
// the arm) once the 51st has started; the level
// advances on the very frame the count reaches 200, 140 frames after the
// last explosion ended, with the next stage, a fresh wave and ships, and the
// play goes on; after the fifth the ending ends the play.
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
        QuietFrame();
        EXPECT_EQ(boss.frame, b.flash);
        EXPECT_FALSE(boss.hit) << "the flash shows once";
        EXPECT_TRUE(n == 2 || ShownUncovered(boss.spr[b.flash], boss.x, boss.y));
    }
    ASSERT_EQ(hits + 1, hp);
    player2.shield = 0;
    const bossbomb_t &beam =
        Aim(*std::find_if(KINDS, std::end(KINDS), [n](const Kind &k) { return k.boss == n; }), player2);
    ASSERT_TRUE(ShootBody() && fl_des);
    EXPECT_EQ(score, was + 5 * hp + b.bonus);
    EXPECT_TRUE(bullet[0].on) << "the killing shot is not restored";
    EXPECT_EQ(Sound(al_fx[1]).count, plays + hits) << "the kill sounds as an explosion, not a hit";
    EXPECT_EQ(money, 1000) << "bosses pay no money";
    EXPECT_TRUE(beam.on && !player2.dead) << "the projectile on the idle ship waits";
    bossbomb_t frozen[12];
    std::copy(boss_bomb, boss_bomb + 12, frozen);
    int bx = boss.x, by = boss.y, last_end = -1, frame = 0;
    bool drawn_late = false;
    std::vector<bosspart_t *> parts = {&boss};
    if (n == 2) parts.push_back(&boss1);
    if (n == 3) parts.insert(parts.end(), ARM, ARM + 4);
    try {
        while (bosshere && frame < 2000) {
            // The kill's sound, and one for each explosion begun.
            ASSERT_EQ(Sound(al_fx[0]).count, booms + 1 + std::min(exp_n, 60)) << "frame " << frame;
            int before = exp_n;
            explosion_t was[7];  // one that ends in this frame is still drawn in it
            std::copy(explosion, explosion + 7, was);
            QuietFrame();
            frame++;
            if (!bosshere) {
                EXPECT_EQ(before, 199) << "the advance waits for exactly 200";
                break;
            }
            for (int i = 0; i < 12; i++)
                EXPECT_TRUE(boss_bomb[i].on == frozen[i].on && boss_bomb[i].y == frozen[i].y) << "frozen";
            EXPECT_FALSE(player2.dead);
            bool live = false;
            for (int j = 0; j < 7; j++) {
                const explosion_t &e = explosion[j];
                EXPECT_TRUE(!was[j].on || e.on || was[j].frame == 6) << "each ends after its image 6";
                live |= e.on;
                EXPECT_TRUE(!e.on || (e.frame <= 6 && e.x >= bx - 20 && e.x <= bx + 40 && e.y >= by - 20 &&
                                      e.y <= by + 60))
                    << e.x << "," << e.y;
            }
            if (!live && last_end < 0 && exp_n >= 60) last_end = frame;
            // Once the 51st is under way nothing of the body (nor of the pod
            // or the arm) shows where no explosion nor a ship covers its
            // middle row.
            for (bosspart_t *p : parts)
                for (int x = p->x, y = p->y + p->spr[0]->h / 2; before >= 51 && x < p->x + p->spr[0]->w;
                     x++) {
                    bool covered = DrawnOver(x, y);
                    for (int j = 0; j < 7; j++)
                        for (const explosion_t &e : {was[j], explosion[j]})
                            covered |= e.on && x >= e.x && x < e.x + 32 && y >= e.y && y < e.y + 32;
                    drawn_late |= !covered && Shown(x, y) != Backdrop(x, y);
                }
        }
    } catch (const RunOver &) {
        // The ending leads to the high-score entry, which waits for keys no
        // script gives.
    }
    EXPECT_FALSE(drawn_late);
    ASSERT_EQ(level, 5 * n + 1);
    if (n == 5) {
        EXPECT_TRUE(gameover) << "the ending ended the play";
        return;
    }
    EXPECT_EQ(frame - last_end, 140) << "140 counts, the first on the frame after the last one ended";
    EXPECT_TRUE(n != 1 || bgcol == 4) << "the second stage's sheet";
    EXPECT_EQ(al_hits, 2 * (n + 1));
    EXPECT_EQ(player.x, 50);
    EXPECT_GE(player.shield, 21) << "fresh ships";
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 5; r++)
            EXPECT_TRUE(!alien[c][r].dead && alien[c][r].y == 42 + 20 * r) << c << "," << r;
    QuietFrames(300);
    EXPECT_FALSE(gameover);
    EXPECT_EQ(level, 5 * n + 1);
}

// Single slots from `from` on, launched at (ox, 15) from the body: six at
// random with a fall speed of their own, or (with vy) four one pixel apart,
// launched again as soon as they end.
std::vector<GroupRule> Singles(int from, int ox, int limit, int vy = 0) {
    std::vector<GroupRule> r;
    for (int i = 0; i < (vy ? 4 : 6); i++)
        r.push_back({vy ? '*' : '\0', 0, from + i, 1, vy, {0}, limit, {ox}, {15 + (vy ? i : 0)}});
    return r;
}

// The angle starts again only once it reaches 360.0: the body's x on the
// two frames after that.
void CheckWrap(int x1, int x2) {
    boss.angle = 359.99;
    boss1.angle = 359.95;
    QuietFrame();
    EXPECT_EQ(boss.x, x1);
    EXPECT_EQ(boss.angle, 0.0);
    QuietFrame();
    EXPECT_EQ(boss.x, x2);
}

// One pixel per axis every third frame within x 0..261, y 10..100. The
// straight pair only at the top of the bounce (first on frame 490), the
// single beam on every 60th column, the spread pair on every 32nd.
TEST(Boss1, BouncesDropsEachKindOfBeamByItsRuleAndIsShotDown) {
    const std::vector<At> at = {{1, 100, 27},    {2, 100, 27},    {3, 101, 28},
                                {219, 173, 100}, {220, 173, 100}, {483, 261, 12},
                                {489, 259, 10},  {492, 258, 11},  {1266, 0, 89}};
    CheckFight(1, 2990, at, {{0, 261, 10, 100}},
               {{'<', 11, 0, 2, 3, {0, 0}, 196, {3, 43}, {40, 40}},
                {'x', 60, 2, 1, 1, {0}, 206, {24}, {54}},
                {'x', 32, 3, 2, 2, {-1, 1}, 207, {13, 33}, {45, 45}}});
    CheckKill(1);
}

// The ellipse round (140, 45) from its lowest point, rightward, truncated
// toward zero (never quite the extremes), the pod circling it once in about
// 63 frames; six bombs dropped at random, 1 in 21.
TEST(Boss2, CirclesTheEllipseWithThePodOrbitingDropsBombsAtRandomAndIsShotDown) {
    const std::vector<At> at = {{1, 140, 85},  {2, 141, 84},   {17, 171, 82}, {32, 198, 77},
                                {40, 210, 73}, {48, 220, 68},  {79, 239, 45}, {157, 142, 6},
                                {236, 41, 45}, {314, 138, 84}, {315, 140, 84}};
    const std::map<int, Place> pod = {{1, {142, 139}}, {2, {145, 137}}, {17, {200, 106}}, {32, {201, 72}},
                                      {48, {195, 92}}, {79, {268, 70}}, {157, {147, 1}}};
    CheckFight(2, 4000, at, {{41, 239, 6, 85}}, Singles(0, 15, 206), 0, 21, [&pod](int t) {
        auto p = pod.find(t);
        if (p == pod.end()) return;
        EXPECT_EQ(Place(boss1.x, boss1.y), p->second) << "frame " << t;
        EXPECT_TRUE(boss1.y < 10 || ShownUncovered(boss1.spr[0], boss1.x, boss1.y));  // below the bar
    });
    CheckWrap(236, 140);
    EXPECT_EQ(boss.y, 85);
    EXPECT_EQ(Place(boss1.x, boss1.y), Place(142, 139)) << "the pod's angle started again too";
    // A piercing shot with a hit to spare that touches body and pod in one
    // frame hits both, the body first. The pod takes the shots that reach it:
    // 4 points a hit with the hit sound and its flash, and 500 for the kill.
    // Shot down, it falls one right and two down a frame, lands past y 203 with
    // an explosion, burns for six 80 ms ticks drifting right, and is gone;
    // meanwhile shots pass it, and only the burning pod costs a ship.
    Shielded();
    boss1.angle = 0.0;
    PlaceShot(1, 0, boss.x + 17, boss.y + 46);
    bullet[0].hits = 2;  // as a piercing shot
    QuietFrame();
    EXPECT_EQ(boss.hp, 2 * 50 - 1);
    EXPECT_EQ(boss1.hp, 20 - 1);
    EXPECT_EQ(score, 5 + 4);
    EXPECT_FALSE(bullet[0].on);
    int hits = 1;
    for (int tries = 0; !boss1.dead && tries < 200; tries++) {
        Shielded();
        boss1.angle = 0.0;  // right below the body: a shot there meets the pod and not the body
        PlaceShot(1, 0, boss.x + 14, boss.y + 57);
        bullet[0].hits = 1;
        int hp = boss1.hp;
        QuietFrame();
        if (boss1.hp == hp) continue;
        hits++;
        EXPECT_EQ(score, 5 + 4 * hits + (boss1.dead ? 500 : 0));
        EXPECT_FALSE(bullet[0].on) << "spent on the pod";
        EXPECT_EQ(Sound(al_fx[1]).count, 1 + std::min(hits, 19)) << "a hit sound for all but the kill";
        EXPECT_EQ(Sound(al_fx[0]).count, boss1.dead ? 1 : 0);
        if (boss1.dead) break;
        QuietFrame();
        EXPECT_TRUE(ShownUncovered(boss1.spr[1], boss1.x, boss1.y)) << "the flash image shows";
        EXPECT_EQ(boss1.frame, 0);
    }
    EXPECT_EQ(hits, 20);
    EXPECT_EQ(boss.hp, 2 * 50 - 1) << "the pod screened the body";
    ASSERT_TRUE(boss1.falling);
    // Falling: shots pass, a ship under it is safe (the bombs kept away).
    int frames = 0;
    for (; boss1.falling && frames < 200; frames++) {
        Place p(boss1.x, boss1.y);
        for (bossbomb_t &b : boss_bomb) b.on = false;
        PlaceShot(1, 1, boss1.x + 14, boss1.y + 2);
        player.x = boss1.x + 8;
        player.shield = 0;
        QuietFrame();
        EXPECT_EQ(player.dead, !boss1.falling) << "the pod burns from the frame it lands on";
        if (!boss1.falling) break;
        EXPECT_EQ(Place(boss1.x, boss1.y), Place(p.first + 1, p.second + 2));
        EXPECT_TRUE(ShownUncovered(boss1.spr[boss1.frame], boss1.x, boss1.y));
    }
    EXPECT_EQ(score, 5 + 4 * 20 + 500);
    ASSERT_EQ(boss1.phase, 1) << "landed";
    EXPECT_TRUE(boss1.y > 203 && boss1.y <= 205) << boss1.y;
    EXPECT_EQ(Sound(al_fx[0]).count, 2);
    // Burning: drifting right, a new image on each of six ticks, then gone.
    Shielded();
    int x = boss1.x, ticks = boss1.frame - 3, last = boss1.frame;  // image 3 at the landing, maybe 4 already
    for (; boss1.phase == 1 && frames < 400; frames++) {
        QuietFrame();
        EXPECT_EQ(boss1.x, ++x);
        ticks += boss1.frame != last;
        last = boss1.frame;
    }
    EXPECT_EQ(boss1.phase, 2);
    EXPECT_EQ(ticks, 6);
    QuietFrames(10);
    EXPECT_EQ(boss1.x, x) << "gone for good";
    CheckKill(2);
}

// Row 45 swept by x 140 + 100 sin, the arm hanging 30..60 below, swaying
// 4..16 about x + 25; four bombs one pixel apart falling two a frame and
// starting again from (15, 15 + i) once past y 200, shown in one of their
// two images.
TEST(Boss3, SweepsWithTheArmSwayingKeepsItsBundleOfBombsFallingAndIsShotDown) {
    const std::vector<At> at = {{1, 140, 45},   {2, 141, 45},   {80, 239, 45},
                                {157, 142, 45}, {158, 140, 45}, {237, 41, 45}};
    const std::map<int, std::array<int, 4>> sway = {
        {1, {{0, 0, 0, 0}}}, {10, {{1, 3, 5, 6}}}, {32, {{3, 7, 11, 15}}}, {63, {{0, 0, 0, 0}}}};
    CheckFight(3, 600, at, {{41, 239, 45, 45}}, Singles(0, 15, 200, 2), 99, 0, [&sway](int t) {
        EXPECT_EQ(boss1.mode, 0) << "no ship under the arm";
        for (int k = 0; k < 4; k++) EXPECT_EQ(ARM[k]->y, 75 + 10 * k);
        const bossbomb_t &b = boss_bomb[3];
        // Drawn before its move; on top where it is below the arm.
        EXPECT_TRUE(!b.on || b.y < 133 || b.y > 150 || ShownUncovered(b.spr[0], b.x, b.y - 2) ||
                    ShownUncovered(b.spr[1], b.x, b.y - 2));
        auto s = sway.find(t);
        if (s == sway.end()) return;
        for (int k = 0; k < 4; k++) EXPECT_EQ(ARM[k]->x, boss.x + 25 + s->second[k]) << "frame " << t;
        EXPECT_TRUE(ShownUncovered(boss4.spr[0], boss4.x, boss4.y));
    });
    // Shots that touch the arm are spent on it, sounding a hit but scoring
    // nothing and sparing the body behind it; the arm never dies. A strike
    // starts when the top segment's place of the frame before is exactly a
    // ship's x, not a pixel beside it: 19 frames stretching bring the tip from
    // 105 to 195, the next (pulling back) to 200, and after 20 frames pulling
    // back the arm is idle; each segment's drop grows by its own step. The tip
    // costs an open ship under it at the bottom of the strike. A new strike can
    // start on the frame after the arm came to rest, also at the idle second
    // ship's record in a one-player game.
    int hp = boss.hp;
    for (int k = 0; k < 4; k++) {
        Shielded();
        PlaceShot(1, 0, ARM[k]->x + 4, ARM[k]->y);
        QuietFrame();
        EXPECT_FALSE(bullet[0].on) << "segment " << k + 1;
        EXPECT_EQ(Sound(al_fx[1]), (Played{k + 1, 50, 100, 1000}));
        EXPECT_FALSE(ARM[k]->dead);
    }
    EXPECT_EQ(score, 0);
    EXPECT_EQ(boss.hp, hp);

    QuietFrames(5);
    Shielded();
    player.x = boss1.x + 1;
    QuietFrame();
    EXPECT_EQ(boss1.mode, 0) << "one pixel beside";
    player.x = boss1.x;
    QuietFrame();
    ASSERT_EQ(boss1.mode, 1);
    const int step[4] = {2, 3, 4, 5}, ships = lives;
    for (int f = 1; f <= 39; f++) {
        int d = f <= 19 ? f - 1 : 39 - f;  // the drop grows by the step for 19 frames, then shrinks
        for (int k = 0; k < 4; k++) EXPECT_EQ(ARM[k]->y, 75 + 10 * k + step[k] * d) << "strike frame " << f;
        EXPECT_EQ(boss1.mode, f < 19 ? 1 : f < 39 ? 2 : 0) << "strike frame " << f;
        EXPECT_TRUE(ShownUncovered(boss4.spr[0], boss4.x, boss4.y));
        EXPECT_EQ(lives, f < 18 ? ships : ships - 1) << "the tip reaches the ship on strike frame 18";
        player.x = boss4.x;  // under the tip, open from frame 15
        if (f == 15) player.shield = 0;
        for (bossbomb_t &b : boss_bomb) b.on = false;
        if (f < 39) QuietFrame();
    }
    ASSERT_EQ(NPLAYERS, 1);
    player.x = 0;
    player2.x = boss1.x;
    QuietFrame();
    EXPECT_EQ(boss1.mode, 1);
    EXPECT_EQ(lives2, LIVES);
    CheckKill(3);
}

// One pixel per axis every second frame over almost the whole field, down
// into the ships' row; the fan of five whenever the height is a multiple of
// 31, the heavy bomb on every 30th column.
TEST(Boss4, BouncesFiresItsFanAndBombByHeightAndColumnAndIsShotDown) {
    const std::vector<At> at = {{1, 100, 37},    {2, 101, 38},  {256, 228, 165}, {258, 229, 164},
                                {288, 244, 149}, {568, 104, 9}, {776, 0, 113}};
    CheckFight(4, 2000, at, {{0, 244, 9, 165}},
               {{'y', 31, 1, 5, 2, {0, 1, 2, -1, -2}, 220, {30, 30, 30, 30, 30}, {20, 20, 20, 20, 20}},
                {'x', 30, 0, 1, 3, {0}, 202, {30}, {20}}});
    // At the bottom of its bounce the body costs an open ship it touches; a
    // shielded one is safe.
    for (bool open : {false, true}) {
        SCOPED_TRACE(open ? "open" : "shielded");
        int ships = lives;
        for (int t = boss.count; !player.dead && boss.count < t + 700;) {  // past the bottom
            for (bossbomb_t &b : boss_bomb) b.on = false;                  // only the body
            player.x = boss.x + 30;
            player.shield = open ? 0 : 1 << 20;
            QuietFrame();
        }
        EXPECT_EQ(lives, ships - open);
        EXPECT_TRUE(!open || boss.y + 58 >= 206) << "it reached the ships' row";
    }
    QuietFrames(100);  // the wreck out of the way
    CheckKill(4);
}

// A bob of one pixel every second frame within y 9..120 while sweeping
// x 105 + 100 sin; fans at heights that are multiples of 28 and of 26, six
// long bombs at random, 1 in 31.
TEST(Boss5, BobsAndSweepsFiresTwoFansByHeightAndBombsAtRandomAndIsShotDown) {
    const std::vector<At> at = {{1, 105, 37},   {2, 106, 38},   {3, 108, 38},  {166, 90, 120},
                                {168, 86, 119}, {200, 31, 103}, {388, 204, 9}, {390, 204, 10}};
    std::vector<GroupRule> rules = {{'y', 28, 0, 3, 3, {1, 0, -1}, 220, {30, 30, 30}, {20, 20, 20}},
                                    {'y', 26, 3, 3, 2, {1, 0, -1}, 220, {60, 60, 60}, {20, 20, 20}}};
    for (const GroupRule &g : Singles(6, 36, 206)) rules.push_back(g);
    CheckFight(5, 4000, at, {{6, 204, 9, 120}}, rules, 2, 31);  // x 5 needs sin at -0.99
    CheckWrap(201, 105);
    CheckKill(5);
}

// Two projectiles on one ship in one frame cost one life: the first in
// slot order hits, a later one is not tested and flies on. Every slot of a
// group flies with it until its lead passes the limit; a slot that has hit
// a ship keeps flying with it, drawn and harmless, and that holds for the
// lead too. A player who is out runs no shots any more: one of theirs left
// in the air stays where it was and must not go on hurting the boss unseen,
// while the other player's shots still count.
TEST(BossFightForTwo, OneLifeAFrameSpentSlotsFlyOnAndAPlayerWhoIsOutHurtsNothing) {
    for (int hit = 0; hit <= 1; hit++) {
        SCOPED_TRACE(hit == 0 ? "the lead hits" : "the second slot hits");
        PlayOptions o;
        o.players = 2;
        StartBoss(1, o);
        QuietFrames(ENTRANCE);
        // The straight pair, falling 3 a frame, one beam on the ship, and
        // the single beam, falling one, on it in the same frame.
        player.x = 20;  // the beams clear of the body
        boss_bomb[0].on = boss_bomb[1].on = boss_bomb[2].on = true;
        boss_bomb[hit].x = player.x + 6;
        boss_bomb[1 - hit].x = boss_bomb[hit].x + (hit == 0 ? 40 : -40);
        boss_bomb[0].y = boss_bomb[1].y = FirstContact(player, boss_bomb[hit].spr[0], player.x + 6) - 3;
        boss_bomb[2].x = player.x + 4;
        boss_bomb[2].y = FirstContact(player, boss_bomb[2].spr[0], player.x + 4) - 1;
        Unshield();
        QuietFrame();
        ASSERT_TRUE(player.dead);
        EXPECT_EQ(lives, 8);
        EXPECT_EQ(Sound(pl_fx[1]), (Played{1, 120, 150, 1000}));
        EXPECT_FALSE(boss_bomb[hit].on);
        EXPECT_TRUE(boss_bomb[1 - hit].on);
        EXPECT_TRUE(boss_bomb[2].on) << "not tested against the ship it would have hit";
        boss_bomb[2].on = false;
        for (int f = 0; (boss_bomb[0].on || boss_bomb[1].on) && f < 100; f++) {
            int y = boss_bomb[0].y;
            player2.x = boss_bomb[hit].x - 6;  // the spent one passes right through the second ship
            player2.shield = 0;
            QuietFrame();
            EXPECT_EQ(boss_bomb[0].y, y + 3);
            EXPECT_EQ(boss_bomb[1].y, boss_bomb[0].y);
            if (boss_bomb[0].y <= 196) {
                EXPECT_TRUE(ShownUncovered(boss_bomb[hit].spr[0], boss_bomb[hit].x, y));
                EXPECT_FALSE(boss_bomb[hit].on);
            }
            EXPECT_FALSE(player2.dead);
        }
        EXPECT_EQ(lives, 8);
    }
    lives = 0;
    gameover1 = true;
    int hp = boss.hp, was = score;
    for (int f = 0; f < 20; f++) {
        Shielded();
        PlaceShot(1, 0, boss.x + 22, boss.y + 40);
        QuietFrame();
    }
    EXPECT_EQ(boss.hp, hp);
    EXPECT_EQ(score, was);
    EXPECT_TRUE(ShootBody(2));
    EXPECT_EQ(score2, 5);
}

}  // namespace
