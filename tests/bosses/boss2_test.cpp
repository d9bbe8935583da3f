// Second boss: the ellipse, the pod's orbit, fall and fire, and the random
// bombs.

#include "support/bossfight.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace {

using Place = std::pair<int, int>;

Place Pod() {
    return {boss1.x, boss1.y};
}

// The body runs the ellipse round (140, 45) from its lowest point (140, 85),
// rightward first, once in about 314 frames; the pod circles it once in
// about 63. Positions are truncated toward zero, so the body is at (141, 84)
// on the second frame and at (239, 45) on the 79th. The angles are never
// reduced by a full turn: only once one reaches 360.0 is it set to 0.0, and
// the body jumps back to its lowest point.
TEST(Boss2, CirclesTheEllipseWithThePodOrbitingIt) {
    StartBoss(2);
    PastEntrance();
    const std::map<int, Place> pod = {{1, {142, 139}}, {2, {145, 137}}, {17, {200, 106}}, {32, {201, 72}},
                                      {48, {195, 92}}, {79, {268, 70}}, {157, {147, 1}}};
    const std::vector<At> body = {{1, 140, 85},  {2, 141, 84},   {17, 171, 82}, {32, 198, 77},
                                  {40, 210, 73}, {48, 220, 68},  {79, 239, 45}, {157, 142, 6},
                                  {236, 41, 45}, {314, 138, 84}, {315, 140, 84}};
    auto pod_at = [&pod](int t) {
        auto p = pod.find(t);
        if (p == pod.end()) return;
        EXPECT_EQ(Pod(), p->second) << "frame " << t;
        EXPECT_TRUE(boss1.y < 10 || ShownUncovered(boss1.spr[0], boss1.x, boss1.y));  // below the bar
    };
    EXPECT_EQ(FollowBody(body, 315, false, pod_at), (Box{41, 239, 6, 85}))
        << "truncated toward zero: never quite the extremes";
    boss.angle = 359.99;
    boss1.angle = 359.95;
    QuietFrame();
    EXPECT_EQ(boss.x, 236);
    EXPECT_TRUE(boss.angle == 0.0 && boss1.angle == 0.0);
    QuietFrame();
    EXPECT_EQ(boss.x, 140);
    EXPECT_EQ(boss.y, 85);
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
    for (const GroupCount &c : count) EXPECT_GT(c.launches, 20);
    EXPECT_NEAR(RandomRate(count), 1.0 / 21, 0.2 / 21);
}

// With its angle at 0 the pod hangs right below the body: a shot placed
// there meets the pod and not the body.
bool ShootPod() {
    boss1.angle = 0.0;
    int hp = boss1.hp;
    PlaceShot(1, 0, boss.x + 14, boss.y + 57);
    QuietFrame();
    return boss1.hp < hp;
}

// The pod takes the shots that reach it: 4 points a hit with the hit sound
// and its flash, and 500 for the kill. Shot down, it falls one right and
// two down a frame, lands past y 203 with an explosion, burns for six 80 ms
// ticks drifting right, and is gone; meanwhile shots pass it, and only the
// burning pod costs a ship.
TEST(Boss2, ThePodTakesShotsFallsBurnsAndIsGone) {
    StartBoss(2);
    PastEntrance();
    int body = boss.hp, hits = 0, tries = 0;
    ASSERT_EQ(boss1.hp, 20);
    while (boss1.hp > 1 && tries++ < 100) {
        Shielded();
        int plays = Sound(al_fx[1]).count;
        if (!ShootPod()) continue;
        hits++;
        EXPECT_EQ(score, 4 * hits);
        EXPECT_FALSE(bullet[0].on) << "spent on the pod";
        EXPECT_EQ(Sound(al_fx[1]).count, plays + 1);
        QuietFrame();
        EXPECT_TRUE(ShownUncovered(boss1.spr[1], boss1.x, boss1.y)) << "the flash image shows";
        EXPECT_EQ(boss1.frame, 0);
    }
    EXPECT_EQ(hits, 19);
    EXPECT_EQ(boss.hp, body) << "the pod screened the body";
    int booms = Sound(al_fx[0]).count;
    while (!boss1.dead && tries++ < 200) ShootPod();
    ASSERT_TRUE(boss1.falling);
    EXPECT_EQ(score, 4 * 20 + 500);
    EXPECT_EQ(Sound(al_fx[0]).count, booms + 1);
    EXPECT_FALSE(bullet[0].on) << "the pod's killing shot is spent too";

    // Falling: shots pass, a ship under it is safe (the bombs kept away).
    int frames = 0;
    for (; boss1.falling && frames < 200; frames++) {
        Place p = Pod();
        for (bossbomb_t &b : boss_bomb) b.on = false;
        PlaceShot(1, 1, boss1.x + 14, boss1.y + 2);
        player.x = boss1.x + 8;
        Unshield();
        QuietFrame();
        EXPECT_EQ(player.dead, !boss1.falling) << "the pod burns from the frame it lands on";
        if (!boss1.falling) break;
        EXPECT_EQ(Pod(), Place(p.first + 1, p.second + 2));
        EXPECT_TRUE(ShownUncovered(boss1.spr[boss1.frame], boss1.x, boss1.y));
    }
    EXPECT_EQ(score, 4 * 20 + 500);
    ASSERT_EQ(boss1.phase, 1) << "landed";
    EXPECT_TRUE(boss1.y > 203 && boss1.y <= 205) << boss1.y;
    EXPECT_EQ(Sound(al_fx[0]).count, booms + 2);

    // Burning: drifting right, a new image on each of six ticks, then gone.
    Shielded();
    int x = boss1.x, ticks = 0, last = boss1.frame;
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
}

// A weapon-2 shot with a hit to spare that touches body and pod in one
// frame hits both, the body first.
TEST(Boss2, APiercingShotCanHitBodyAndPodInOneFrame) {
    PlayOptions o;
    o.weapon = 2;
    StartBoss(2, o);
    PastEntrance();
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
