// The mother ship: random passes, its bomb let go over player 1 in either
// direction, the bomb's fall, sounds and burst against both ships, and the
// shots that flash, destroy and score on it.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <vector>

// An empty sky and field in Old mode (no bonus to disturb the random
// sequence), the ships shielded.
static void EmptyField(int players = 1, int weapon = 1, int power = 1) {
    StartPlay({2, 2, players, weapon, power});
    ClearWave();
    Shielded();
}

// The mother ship put on a crossing by hand (1 to the right, 2 to the
// left), its bomb free.
static void Crossing(int state, int x, int hp) {
    ShipInit(hp - 1);
    ship.state = state, ship.x = x, ship.frame = state - 1;
}

// The bomb goes on the first frame the ship is past player 1 in its
// direction, from the ship's x; player 2's place does not count. It falls
// from 5 to 190 in 185 frames, the whistle at y 20 and the burst sound at
// 189, then bursts with images 0 to 4, one per 80 ms tick. Each ship under
// it loses a life, once, where it meets them, unless shielded or idle
// (player 2's record in a one-player game). Once the bomb is free, the
// ship, still past player 1, drops the next on the frame after.
TEST(MotherShip, DropsOverPlayer1AndCostsEachShipUnderItOneLife) {
    for (int k = 0; k < 3; k++) {  // over both ships, over shields, in a one-player game
        const bool two = k < 2, shielded = k == 1, lost = k == 0;
        SCOPED_TRACE(k);
        EmptyField(two ? 2 : 1);
        if (!shielded) Unshield();
        player.x = 100, player2.x = 110;  // a ship crossing to the left passes player 2 first
        Crossing(two ? 2 : 1, two ? 120 : 90, 3);
        int before = ship.x, l1 = lives, l2 = lives2, hit1 = 0, hit2 = 0, falling = 1;
        auto step = [&] {
            Frame();
            hit1 = hit1 ? hit1 : lives < l1 ? ship_bomb.y : 0;
            hit2 = hit2 ? hit2 : lives2 < l2 ? ship_bomb.y : 0;
        };
        for (int f = 0; f < 60 && !ship_bomb.on; f++) before = ship.x, step();
        const int bx = two ? 99 : 101;
        ASSERT_TRUE(ship_bomb.on);
        EXPECT_TRUE(before == 100 && ship.x == bx && ship_bomb.x == bx) << "not a frame sooner";
        EXPECT_EQ(ship_bomb.y, 6) << "dropped at 5, one pixel down in its first frame";
        if (!two) player.x = 20;  // out from under it, still passed
        for (; !ship_bomb.exploding && falling < 300; falling++) {
            EXPECT_TRUE(ship_bomb.y > 170 || ShownAt(ship_bomb.spr[0], bx, ship_bomb.y));
            EXPECT_EQ(Sound(al_fx[2]).count, ship_bomb.y >= 20) << "y " << ship_bomb.y;
            EXPECT_EQ(Sound(al_fx[3]).count, ship_bomb.y >= 189) << "y " << ship_bomb.y;
            step();
        }
        EXPECT_TRUE(falling == 185 && ship_bomb.y == 190 && ship_bomb.x == bx) << falling;
        std::vector<int> shown;
        for (int f = 0; ship_bomb.on && f < 100; f++) {
            int image = ship_bomb.frame;
            step();
            EXPECT_TRUE(two || ShownAt(ship_bomb.spr[image], bx, 190)) << "image " << image;
            if (shown.empty() || shown.back() != image) shown.push_back(image);
            EXPECT_EQ(ship_bomb.frame, ship_bomb.on ? image + synf : 0);
        }
        EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4}));
        EXPECT_EQ(Sound(al_fx[2]), (Played{1, 80, 100, 1000}));
        EXPECT_EQ(Sound(al_fx[3]), (Played{1, 80, 100, 1000})) << "the burst sound only once";
        EXPECT_TRUE(l1 - lives == lost && l2 - lives2 == lost);
        EXPECT_TRUE(!lost || (hit1 > 150 && hit2 > 150)) << "hit where the bomb meets the ships";
        step();
        EXPECT_TRUE(ship_bomb.on && ship_bomb.x == ship.x) << "the next bomb";
    }
}

// Two points a hit with the hit sound and the flash image of the ship's
// direction until the next 80 ms tick; 2 + 250 for the last one with the
// explosion sound. The explosion, centred on the ship, plays its images 4
// to 10 where it stands, dropping nothing, and the pass ends there.
TEST(MotherShip, HitsFlashAndTheKillPays252WithAnExplosionWhereItWas) {
    EmptyField(1, 1, 3);
    player.x = 150;
    Crossing(2, 200, 3);
    std::vector<int> gains;
    int flashes = 0;
    for (int f = 0; f < 400 && !ship.dead; f++) {
        key[KEY_SPACE] = f % 2 ? 0 : -1;  // fire as fast as the key allows
        int hp = ship.hp, s = score, x = ship.x, y = ship.y;
        bool flash = ship.hit;
        Frame();
        if (ship.hp != hp) gains.push_back(score - s);
        if (ship.dead) {
            EXPECT_TRUE(ship.x == x - (ship.count % 2 == 0) + 8 &&
                        ship.y == y - 6);  // it steps on even counts
            break;
        }
        EXPECT_TRUE(ShownUncovered(ship.spr[flash ? 3 : 1], ship.x, ship.y));
        EXPECT_TRUE(!flash || synf || ship.hit) << "until the tick";
        flashes += flash;
    }
    key[KEY_SPACE] = 0;
    ASSERT_TRUE(ship.dead);
    EXPECT_TRUE(flashes >= 2 && gains == (std::vector<int>{2, 2, 252}));
    EXPECT_EQ(Sound(al_fx[1]), (Played{2, 50, 100, 1000}));
    EXPECT_EQ(Sound(al_fx[0]), (Played{1, 50, 200, 1000}));
    int kx = ship.x, s = score;
    player.x = 300;  // the ship is past player 1 with its bomb free
    ship_bomb.on = false;
    std::vector<int> images;
    for (int f = 0; ship.state != 0 && f < 200; f++) {
        int image = ship.frame;
        Frame();
        EXPECT_TRUE(ship.x == kx && ship.y == 14 && !ship_bomb.on && ShownUncovered(ship.spr[image], kx, 14))
            << "image " << image;
        if (images.empty() || images.back() != image) images.push_back(image);
    }
    EXPECT_EQ(images, (std::vector<int>{4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(kx > 0 && kx < 272) << "ended in mid-screen";
    EXPECT_EQ(score, s) << "shots pass a dead ship";
}

// A weapon-3 shot that bursts on the ship goes on hitting it with its blast
// on the following frames, one hit a frame, for its own player; a player
// who is out (shots no longer run) cannot hit it with a shot left standing.
// A ship leaving the sky with its bomb free drops nothing on its way out.
TEST(MotherShip, ABlastKeepsHittingForItsPlayerButNoShotOfAPlayerWhoIsOut) {
    EmptyField(2, 3, 1);
    Crossing(1, 100, 20);
    PlaceShot(2, 0, 124, 22);
    int hits = 0;
    for (int f = 0; f < 400 && bullet2[0].on; f++) {
        int hp = ship.hp;
        Frame();
        EXPECT_LE(hp - ship.hp, 1) << "one hit a frame";
        hits += hp - ship.hp;
    }
    EXPECT_TRUE(hits >= 4 && score2 == 2 * hits && score == 0) << hits << " hits";
    gameover1 = true;
    PlaceShot(1, 0, ship.x + 24, 22);
    Frame();
    EXPECT_TRUE(ship.hp == 20 - hits && score == 0 && bullet[0].on);
    for (int state = 1; state <= 2; state++) {
        EmptyField();
        player.x = 100;  // passed
        Crossing(state, state == 1 ? 320 : -48, 3);
        ship.count = 1;  // it moves on the next frame, out of the sky
        Frame();
        EXPECT_TRUE(ship.state == 0 && !ship_bomb.on) << (state == 1 ? "right" : "left");
    }
}

// The rare random events, counted over many frames: a mother-ship pass
// starts on 1 in 301 frames of an empty sky, from either side with one hit
// point more than the aliens, and a bonus on 1 in 141 frames without one. A
// pass crosses the whole sky, one pixel every second frame.
TEST(RareEvents, MotherShipPassesAndBonusesComeAtTheirRates) {
    EmptyField();
    const int frames = 300000;
    int passes[3] = {0, 0, 0}, bonuses = 0, crossing = 0;
    for (int f = 0; f < frames; f++) {
        ship.state = ship.hp = 0, ship.dead = true, ship_bomb.on = bonus.on = false;
        Ship();
        Bonus();
        passes[ship.state]++, bonuses += bonus.on;
        EXPECT_TRUE(!ship.state || (ship.hp == al_hits + 1 && !ship.dead && ship.frame == ship.state - 1 &&
                                    ship.x == (ship.state == 1 ? -48 : 320)));
    }
    EXPECT_NEAR(passes[1] + passes[2], frames / 301.0, frames / 301.0 * 0.1);
    EXPECT_NEAR(passes[1], passes[2], frames / 301.0 * 0.1) << "either side as often";
    EXPECT_NEAR(bonuses, frames / 141.0, frames / 141.0 * 0.08);
    for (int f = 0; ship.state == 0 && f < 5000; f++) Frame();
    for (; ship.state != 0 && crossing < 1000; crossing++) Frame();
    EXPECT_TRUE(crossing >= 737 && crossing <= 738) << crossing;
}
