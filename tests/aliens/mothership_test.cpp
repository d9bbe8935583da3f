// The mother ship: random passes, its bomb let go over player 1 in either
// direction, the bomb's fall, sounds and burst against both ships, and the
// shots that flash, destroy and score on it.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An empty sky and field in Old mode (no bonus to disturb the random
// sequence), the ships shielded.
void EmptyField(int players = 1, int weapon = 1, int power = 1) {
    PlayOptions o;
    o.mode = 2;
    o.players = players;
    o.weapon = weapon;
    o.power = power;
    StartPlay(o);
    ClearWave();
    Shielded();
}

// The mother ship put on a crossing by hand: 1 to the right, 2 to the left.
void Crossing(int state, int x, int hp) {
    ship.state = state;
    ship.x = x;
    ship.y = 20;
    ship.frame = state - 1;
    ship.hp = hp;
    ship.dead = ship.exploding = ship.hit = false;
    ship.count = 0;
}

// Frames until the bomb is dropped, at most `limit`; -1 if it never is.
int FramesUntilDrop(int limit) {
    for (int f = 1; f <= limit; f++) {
        bool was = ship_bomb.on;
        Frame();
        if (!was && ship_bomb.on) return f;
    }
    return -1;
}

// Passes come at random from either side with one hit point more than the
// aliens, and cross the whole sky, one pixel every second frame, drawn
// where they are.
TEST(MotherShip, RandomPassesFromBothSidesCrossTheWholeSky) {
    EmptyField();
    bool seen[3] = {false, false, false};
    for (int pass = 0; pass < 6; pass++) {
        ship.hp = 0;
        ship.dead = true;
        for (int f = 0; ship.state == 0 && f < 5000; f++) Frame();
        ASSERT_NE(ship.state, 0);
        seen[ship.state] = true;
        EXPECT_EQ(ship.hp, al_hits + 1);
        EXPECT_FALSE(ship.dead);
        EXPECT_EQ(ship.x, ship.state == 1 ? -48 : 320);
        EXPECT_EQ(ship.frame, ship.state - 1);
        int frames = 0;
        for (; ship.state != 0 && frames < 1000; frames++) {
            Frame();
            int x = ship.x;
            EXPECT_TRUE(ship.state == 0 || x < 0 || x > 272 || ShownUncovered(ship.spr[ship.frame], x, 20))
                << "x " << x;
        }
        EXPECT_GE(frames, 737);
        EXPECT_LE(frames, 738);
    }
    EXPECT_TRUE(seen[1] && seen[2]);
}

// The bomb goes on the first frame the ship is past player 1 in its
// direction, from the ship's x; player 2's place does not count. It falls
// from 5 to 190 in 185 frames, the whistle at y 20 and the burst sound at
// 189, then bursts with images 0 to 4, one per 80 ms tick. Only then is it
// free: the ship, still past player 1, drops the next on the frame after.
TEST(MotherShip, DropsOverPlayer1FallsWhistlesAndBursts) {
    for (int state = 1; state <= 2; state++) {
        SCOPED_TRACE(state == 1 ? "crossing to the right" : "crossing to the left");
        EmptyField(2);
        player.x = 100;
        player2.x = state == 1 ? 60 : 140;  // the ship passes player 2 first
        Crossing(state, state == 1 ? 90 : 110, 3);
        int before = ship.x;
        for (int f = 0; f < 60 && !ship_bomb.on; f++) {
            before = ship.x;
            Frame();
        }
        ASSERT_TRUE(ship_bomb.on);
        EXPECT_EQ(before, 100) << "not a frame sooner";
        const int bx = ship.x;
        EXPECT_EQ(bx, state == 1 ? 101 : 99);
        EXPECT_EQ(ship_bomb.x, bx);
        EXPECT_EQ(ship_bomb.y, 6) << "dropped at 5, one pixel down in its first frame";
        player.x = state == 1 ? 20 : 300;  // out from under it, still passed
        int falling = 1;
        for (; !ship_bomb.exploding && falling < 300; falling++) {
            EXPECT_TRUE(ShownAt(ship_bomb.spr[0], bx, ship_bomb.y));
            EXPECT_EQ(Sound(al_fx[2]).count, ship_bomb.y >= 20) << "y " << ship_bomb.y;
            EXPECT_EQ(Sound(al_fx[3]).count, ship_bomb.y >= 189) << "y " << ship_bomb.y;
            Frame();
        }
        EXPECT_EQ(falling, 185);
        EXPECT_EQ(ship_bomb.y, 190);
        EXPECT_EQ(ship_bomb.x, bx);
        EXPECT_EQ(Sound(al_fx[2]), (Played{1, 80, 100, 1000}));
        EXPECT_EQ(Sound(al_fx[3]), (Played{1, 80, 100, 1000}));
        std::vector<int> shown;
        int frames = 0;
        for (; ship_bomb.on && frames < 100; frames++) {
            int image = ship_bomb.frame;
            Frame();
            EXPECT_TRUE(ShownAt(ship_bomb.spr[image], bx, 190)) << "image " << image;
            if (shown.empty() || shown.back() != image) shown.push_back(image);
            EXPECT_EQ(ship_bomb.frame, ship_bomb.on ? image + synf : 0);
        }
        EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4}));
        EXPECT_EQ(Sound(al_fx[3]).count, 1) << "the burst sound only once";
        EXPECT_EQ(FramesUntilDrop(1), 1);
        EXPECT_EQ(ship_bomb.x, ship.x);
    }
}

// Both ships under the bomb lose a ship each, once, where it meets them; a
// shielded ship is safe, and so is player 2's idle record in a one-player
// game.
TEST(MotherShip, TheBombCostsEachShipUnderItOneLife) {
    for (int k = 0; k < 3; k++) {
        SCOPED_TRACE(k == 0 ? "open" : k == 1 ? "shielded" : "one-player game");
        const bool two = k < 2;
        EmptyField(two ? 2 : 1);
        if (k != 1) player2.shield = 0;
        if (k == 0) player.shield = 0;
        player.x = two ? 100 : 20;
        player2.x = two ? 110 : 200;
        int l1 = lives, l2 = lives2, hit1 = -1, hit2 = -1;
        Crossing(1, two ? 94 : 196, 3);
        ASSERT_GT(FramesUntilDrop(20), 0);
        for (int f = 0; f < 260 && ship_bomb.on; f++) {
            Frame();
            if (hit1 < 0 && lives < l1) hit1 = ship_bomb.y;
            if (hit2 < 0 && lives2 < l2) hit2 = ship_bomb.y;
        }
        EXPECT_FALSE(ship_bomb.on);
        const int lost = k == 0;
        EXPECT_EQ(l1 - lives, lost);
        EXPECT_EQ(l2 - lives2, lost);
        EXPECT_EQ(Sound(pl_fx[1]), lost ? (Played{2, 120, 150, 1000}) : Played{});
        EXPECT_TRUE(!lost || (hit1 > 150 && hit2 > 150)) << "hit where the bomb meets the ships";
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
            EXPECT_EQ(ship.x, x - (ship.count % 2 == 0) + 8);  // it steps on even counts
            EXPECT_EQ(ship.y, y - 6);
            break;
        }
        EXPECT_TRUE(ShownUncovered(ship.spr[flash ? 3 : 1], ship.x, ship.y));
        EXPECT_TRUE(!flash || synf || ship.hit) << "until the tick";
        flashes += flash;
    }
    key[KEY_SPACE] = 0;
    ASSERT_TRUE(ship.dead);
    EXPECT_GE(flashes, 2);
    EXPECT_EQ(gains, (std::vector<int>{2, 2, 252}));
    EXPECT_EQ(Sound(al_fx[1]), (Played{2, 50, 100, 1000}));
    EXPECT_EQ(Sound(al_fx[0]), (Played{1, 50, 200, 1000}));
    int kx = ship.x, s = score;
    player.x = 300;  // the ship is past player 1 with its bomb free
    ship_bomb.on = false;
    std::vector<int> images;
    for (int f = 0; ship.state != 0 && f < 200; f++) {
        int image = ship.frame;
        Frame();
        EXPECT_TRUE(ship.x == kx && ship.y == 14 && !ship_bomb.on);
        EXPECT_TRUE(ShownUncovered(ship.spr[image], kx, 14)) << "image " << image;
        if (images.empty() || images.back() != image) images.push_back(image);
    }
    EXPECT_EQ(images, (std::vector<int>{4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(kx > 0 && kx < 272) << "ended in mid-screen";
    EXPECT_EQ(score, s) << "shots pass a dead ship";
}

// A weapon-3 shot that bursts on the ship goes on hitting it with its blast
// on the following frames: several hits from one shot, one a frame.
TEST(MotherShip, AWeapon3BlastKeepsHittingTheShip) {
    EmptyField(1, 3, 1);
    player.x = 150;
    Crossing(1, 50, 20);
    key[KEY_SPACE] = -1;
    Frame();
    key[KEY_SPACE] = 0;
    int hits = 0;
    for (int f = 0; f < 400 && bullet[0].on; f++) {
        int hp = ship.hp;
        Frame();
        EXPECT_LE(hp - ship.hp, 1) << "one hit a frame";
        hits += hp - ship.hp;
    }
    EXPECT_GE(hits, 4) << "the blast went on hitting";
    EXPECT_EQ(score, 2 * hits);
    EXPECT_EQ(Sound(pl_fx[0]).count, 1) << "all from one shot";
}

// Both players' shots hit the ship in a two-player game; a player who is out
// (shots no longer run) cannot hit it with a shot left standing.
TEST(MotherShip, BothPlayersScoreOnItButNotAPlayerWhoIsOut) {
    EmptyField(2);
    Crossing(1, 100, 10);
    PlaceShot(2, 0, 124, 22);
    Frame();
    EXPECT_EQ(ship.hp, 9);
    EXPECT_EQ(score2, 2);
    EXPECT_EQ(score, 0);

    gameover1 = true;
    PlaceShot(1, 0, ship.x + 24, 22);
    Frame();
    EXPECT_EQ(ship.hp, 9);
    EXPECT_EQ(score, 0);
    EXPECT_TRUE(bullet[0].on);
}

// A ship leaving the sky with its bomb free drops nothing on its way out.
TEST(MotherShip, AShipThatHasLeftDropsNoBomb) {
    for (int state = 1; state <= 2; state++) {
        EmptyField();
        player.x = 100;
        Crossing(state, state == 1 ? 320 : -48, 3);
        ship.count = 1;  // it moves on the next frame, out of the sky
        Frame();
        EXPECT_EQ(ship.state, 0);
        EXPECT_FALSE(ship_bomb.on) << (state == 1 ? "right" : "left");
    }
}

}  // namespace
