// Second boss: the ellipse, the pod's orbit, fall and fire, and the random
// bombs.

#include "support/bossfight.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace {

using Place = std::pair<int, int>;

Place Body() {
    return {boss.x, boss.y};
}
Place Pod() {
    return {boss1.x, boss1.y};
}

// The body runs the ellipse round (140, 45) from its lowest point (140, 85),
// rightward first, once in about 314 frames; the pod circles it once in
// about 63. Positions are truncated toward zero, so the body is at (141, 84)
// on the second frame and at (239, 45) on the 79th.
TEST(Boss2, CirclesTheEllipseWithThePodOrbitingIt) {
    StartBoss(2);
    PastEntrance();
    const std::map<int, std::pair<Place, Place>> at = {
        {1, {{140, 85}, {142, 139}}}, {2, {{141, 84}, {145, 137}}}, {17, {{171, 82}, {200, 106}}},
        {32, {{198, 77}, {201, 72}}}, {48, {{220, 68}, {195, 92}}}, {79, {{239, 45}, {268, 70}}},
        {157, {{142, 6}, {147, 1}}}};
    const std::map<int, Place> body_at = {
        {40, {210, 73}}, {236, {41, 45}}, {314, {138, 84}}, {315, {140, 84}}};
    for (int t = 1; t <= 315; t++) {
        Shielded();
        QuietFrame();
        ASSERT_EQ(boss.count, t);
        auto it = at.find(t);
        if (it != at.end()) {
            EXPECT_EQ(Body(), it->second.first) << "frame " << t;
            EXPECT_EQ(Pod(), it->second.second) << "frame " << t;
            if (boss1.y >= 10) {  // clear of the status bar
                EXPECT_TRUE(ShownUncovered(boss1.spr[0], boss1.x, boss1.y));
            }
        }
        auto b = body_at.find(t);
        if (b != body_at.end()) {
            EXPECT_EQ(Body(), b->second) << "frame " << t;
        }
        EXPECT_GE(boss.x, 40);
        EXPECT_LE(boss.x, 240);
        EXPECT_GE(boss.y, 5);
        EXPECT_LE(boss.y, 85);
    }
}

// The angles are never reduced by a full turn: only once one reaches 360.0
// is it set to 0.0, and the body jumps back to its lowest point.
TEST(Boss2, TheAngleStartsAgainAt360) {
    StartBoss(2);
    PastEntrance();
    QuietFrame();
    boss.angle = 359.99;
    boss1.angle = 359.95;
    QuietFrame();
    EXPECT_EQ(Body(), Place(236, 35));
    EXPECT_EQ(boss.angle, 0.0);
    EXPECT_EQ(boss1.angle, 0.0);
    QuietFrame();
    EXPECT_EQ(Body(), Place(140, 85));
    EXPECT_EQ(Pod(), Place(142, 139));
}

// Six bombs, each its own: launched at random, 1 in 21 per free slot and
// frame, from the body's place before it moves plus (15, 15), falling 1 to
// 3 pixels a frame until they pass y 206.
TEST(Boss2, DropsBombsAtRandomFromTheBody) {
    StartBoss(2);
    PastEntrance();
    std::vector<GroupRule> rules;
    for (int i = 0; i < 6; i++) rules.push_back({i, 1, 0, {0}, 206, {15}, {15}, nullptr});
    std::vector<GroupCount> count = FollowGroups(rules, 4000);
    int launches = 0, chances = 0;
    for (const GroupCount &c : count) {
        launches += c.launches;
        chances += c.chances;
        EXPECT_GT(c.launches, 20);
    }
    EXPECT_NEAR(double(launches) / chances, 1.0 / 21, 0.2 / 21);
}

// With its angle at 0 the pod hangs right below the body: a shot placed
// there meets the pod and not the body.
bool ShootPod(int who = 1) {
    boss1.angle = 0.0;
    int hp = boss1.hp;
    PlaceShot(who, 0, boss.x + 14, boss.y + 57);
    QuietFrame();
    return boss1.hp < hp;
}

// The pod takes the shots that reach it: 4 points a hit and 500 for the
// kill. Shot down, it falls one right and two down a frame, lands past y
// 203 with an explosion, burns for six 80 ms ticks drifting right, and is
// gone; meanwhile shots pass it, and only the burning pod costs a ship.
TEST(Boss2, ThePodTakesShotsFallsBurnsAndIsGone) {
    PlayOptions o;
    o.skill = 2;
    StartBoss(2, o);
    PastEntrance();
    int body = boss.hp;
    ASSERT_EQ(boss1.hp, 20);
    int hits = 0, tries = 0;
    while (boss1.hp > 1 && tries++ < 100) {
        Shielded();
        int plays = Sound(al_fx[1]).count;
        if (!ShootPod()) continue;
        hits++;
        EXPECT_EQ(score, 4 * hits);
        EXPECT_FALSE(bullet[0].on) << "spent on the pod";
        EXPECT_EQ(Sound(al_fx[1]).count, plays + 1);
        EXPECT_EQ(boss1.frame, 1) << "flash";
        EXPECT_TRUE(boss1.hit);
        QuietFrame();
        EXPECT_TRUE(ShownUncovered(boss1.spr[1], boss1.x, boss1.y)) << "the flash image shows";
        EXPECT_EQ(boss1.frame, 0);
        EXPECT_FALSE(boss1.hit);
    }
    EXPECT_EQ(hits, 19);
    EXPECT_EQ(boss.hp, body) << "the pod screened the body";

    int booms = Sound(al_fx[0]).count;
    while (!boss1.dead && tries++ < 200) ShootPod();
    ASSERT_TRUE(boss1.dead);
    EXPECT_EQ(score, 4 * 20 + 500);
    EXPECT_TRUE(boss1.falling);
    EXPECT_EQ(boss1.frame, 2);
    EXPECT_EQ(Sound(al_fx[0]).count, booms + 1);
    EXPECT_FALSE(bullet[0].on) << "the pod's killing shot is spent too";

    // Falling: shots pass, a ship under it is safe (the bombs kept away).
    int frames = 0;
    while (boss1.falling && frames < 200) {
        Place p = Pod();
        for (bossbomb_t &b : boss_bomb) b.on = false;
        // A shot on it every other frame; the frames between show it clear.
        if (frames % 2 == 0)
            PlaceShot(1, 1, boss1.x + 14, boss1.y + 2);
        else
            bullet[1].on = false;
        player.x = boss1.x + 8;
        Unshield();
        QuietFrame();
        frames++;
        // The pod burns from the frame it lands on.
        EXPECT_EQ(player.dead, !boss1.falling);
        if (!boss1.falling) break;
        EXPECT_EQ(Pod(), Place(p.first + 1, p.second + 2));
        EXPECT_TRUE(boss1.frame == 2 || boss1.frame == 3);
        if (frames % 2 == 0) {
            EXPECT_TRUE(ShownUncovered(boss1.spr[boss1.frame], p.first + 1, p.second + 2));
        }
    }
    EXPECT_EQ(score, 4 * 20 + 500);
    ASSERT_EQ(boss1.phase, 1) << "landed";
    EXPECT_GT(boss1.y, 203);
    EXPECT_LE(boss1.y, 205);
    EXPECT_EQ(Sound(al_fx[0]).count, booms + 2);

    // Burning: drifting right, images 3 to 7, then gone at 9.
    Shielded();
    int x = boss1.x, ticks = 0, last = boss1.frame;
    while (boss1.phase == 1 && frames < 400) {
        QuietFrame();
        frames++;
        EXPECT_EQ(boss1.x, ++x);
        if (boss1.frame != last) ticks++;
        last = boss1.frame;
    }
    EXPECT_EQ(boss1.phase, 2);
    EXPECT_EQ(ticks, 6);
    int gone = boss1.x;
    QuietFrames(10);
    EXPECT_EQ(boss1.x, gone) << "gone for good";
}

// A weapon-2 shot with a hit to spare that touches body and pod in one
// frame hits both, the body first.
TEST(Boss2, APiercingShotCanHitBodyAndPodInOneFrame) {
    PlayOptions o;
    o.weapon = 2;
    StartBoss(2, o);
    PastEntrance();
    ASSERT_EQ(bul_pw, 2);
    QuietFrame();  // on the ellipse
    int body = boss.hp, pod = boss1.hp;
    Shielded();
    boss1.angle = 0.0;
    PlaceShot(1, 0, boss.x + 17, boss.y + 46);
    QuietFrame();
    EXPECT_EQ(boss.hp, body - 1);
    EXPECT_EQ(boss1.hp, pod - 1);
    EXPECT_EQ(score, 5 + 4);
    EXPECT_FALSE(bullet[0].on);
}

}  // namespace
