// The mother ship: random passes, its bomb let go over player 1 in either
// direction, the bomb's fall, sounds and burst against both ships, and the
// shots that flash, destroy and score on it.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// An empty sky and field in Old mode (no bonus to disturb the random
// sequence), with the mother ship put on a crossing by hand.
void EmptyField(int players = 1, int weapon = 1, int power = 1) {
    PlayOptions o;
    o.mode = 2;
    o.players = players;
    o.weapon = weapon;
    o.power = power;
    StartPlay(o);
    ClearWave();
}

void Crossing(int state, int x, int hp) {
    ship.state = state;
    ship.x = x;
    ship.y = 20;
    ship.frame = state == 1 ? 0 : 1;
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

// The frame of the last sound of sample s, or -1.
long LastSoundFrame(SAMPLE *s) {
    long at = -1;
    for (int i = 0; HeadlessSound(i); i++)
        if (HeadlessSound(i)->sample == s) at = HeadlessSound(i)->frame;
    return at;
}

TEST(MotherShip, InitClearsShipAndBombWithOneHitPointMoreThanTheAliens) {
    EmptyField();
    Crossing(2, 100, 1);
    ship.exploding = true;
    ship_bomb.on = ship_bomb.exploding = true;
    ship_bomb.frame = 3;
    ShipInit(4);
    EXPECT_EQ(ship.state, 0);
    EXPECT_EQ(ship.x, -48);
    EXPECT_EQ(ship.y, 20);
    EXPECT_EQ(ship.hp, 5);
    EXPECT_EQ(ship.frame, 0);
    EXPECT_FALSE(ship.exploding);
    EXPECT_FALSE(ship_bomb.on);
    EXPECT_FALSE(ship_bomb.exploding);
    EXPECT_EQ(ship_bomb.frame, 0);
}

// Passes come at random from either side with full hit points and cross the
// whole sky, one pixel every second frame.
TEST(MotherShip, RandomPassesFromBothSidesCrossTheWholeSky) {
    EmptyField();
    player.shield = 1 << 20;  // its bombs must not end the run
    bool seen[3] = {false, false, false};
    for (int pass = 0; pass < 6; pass++) {
        ship.hp = 0;
        ship.dead = true;
        int waited = 0;
        while (ship.state == 0 && waited < 5000) {
            Frame();
            waited++;
        }
        ASSERT_NE(ship.state, 0);
        seen[ship.state] = true;
        EXPECT_EQ(ship.hp, al_hits + 1);
        EXPECT_FALSE(ship.dead);
        EXPECT_EQ(ship.y, 20);
        EXPECT_EQ(ship.x, ship.state == 1 ? -48 : 320);
        EXPECT_EQ(ship.frame, ship.state == 1 ? 0 : 1);
        int frames = 0;
        int last_x = ship.x;
        while (ship.state != 0 && frames < 1000) {
            Frame();
            frames++;
            EXPECT_LE(std::abs(ship.x - last_x), 1);
            last_x = ship.x;
            if (ship.state != 0 && ship.x >= 0 && ship.x <= 272) {
                EXPECT_TRUE(ShownUncovered(ship.spr[ship.frame], ship.x, ship.y)) << "x " << ship.x;
            }
        }
        EXPECT_GE(frames, 737);
        EXPECT_LE(frames, 738);
    }
    EXPECT_TRUE(seen[1]);
    EXPECT_TRUE(seen[2]);
}

// The bomb goes on the first frame the ship is past player 1 in its
// direction, from the ship's x; player 2's place does not count.
TEST(MotherShip, DropsThePassOverPlayer1InBothDirections) {
    for (int state = 1; state <= 2; state++) {
        SCOPED_TRACE(state == 1 ? "crossing to the right" : "crossing to the left");
        EmptyField(2);
        player.x = 100;
        player2.x = state == 1 ? 60 : 140;  // the ship passes player 2 first
        player.shield = player2.shield = 1 << 20;
        Crossing(state, state == 1 ? 90 : 110, 3);
        std::vector<int> xs;
        int f;
        for (f = 0; f < 60 && !ship_bomb.on; f++) {
            Frame();
            xs.push_back(ship.x);
        }
        ASSERT_TRUE(ship_bomb.on);
        EXPECT_EQ(ship.x, state == 1 ? 101 : 99);
        EXPECT_EQ(xs[xs.size() - 2], 100) << "not a frame sooner";
        EXPECT_EQ(ship_bomb.x, ship.x);
        EXPECT_EQ(ship_bomb.y, 6) << "dropped at 5, one pixel down in its first frame";
        EXPECT_FALSE(ship_bomb.exploding);
        EXPECT_TRUE(ShownAt(ship_bomb.spr[0], ship_bomb.x, ship_bomb.y));
        // One bomb at a time: the ship goes on past player 1 without a second.
        Frames(40);
        EXPECT_EQ(ship_bomb.y, 46);
    }
}

// A busy bomb holds the drop back until it has freed itself; the next bomb
// leaves on the frame after, if the ship is still past player 1.
TEST(MotherShip, ABusyBombDelaysTheDropUntilItIsFree) {
    EmptyField();
    player.x = 20;
    player.shield = 1 << 20;
    Crossing(1, 60, 3);
    ship_bomb.on = ship_bomb.exploding = true;
    ship_bomb.x = 250;
    ship_bomb.y = 190;
    ship_bomb.frame = 3;
    int freed_at = -1;
    for (int f = 1; f <= 100 && freed_at < 0; f++) {
        Frame();
        if (!ship_bomb.on) freed_at = f;
    }
    ASSERT_GT(freed_at, 0);
    EXPECT_EQ(ship_bomb.frame, 0);
    int x = ship.x;
    EXPECT_EQ(FramesUntilDrop(1), 1) << "the drop comes on the very next frame";
    EXPECT_EQ(ship_bomb.x, ship.x);
    EXPECT_GE(ship_bomb.x, x);
    EXPECT_EQ(ship_bomb.y, 6);

    // An exploding ship drops nothing, even past player 1 with the bomb free.
    EmptyField();
    player.x = 20;
    Crossing(1, 60, 1);
    ship.exploding = ship.dead = true;
    ship.frame = 4;
    EXPECT_EQ(FramesUntilDrop(40), -1);
}

// From 5 to 190 in 185 frames, the whistle at y 20 and the burst sound at
// 189; then the burst images 0 to 4, one per 80 ms tick, and the bomb is free.
TEST(MotherShip, BombFallsWhistlesAndBurstsOnTheGround) {
    EmptyField();
    player.x = 20;
    player.shield = 1 << 20;
    Crossing(1, 200, 3);
    ASSERT_EQ(FramesUntilDrop(2), 1);
    long dropped = HeadlessFrame();
    int bx = ship_bomb.x;
    int falling = 1;
    while (!ship_bomb.exploding && falling < 300) {
        Frame();
        falling++;
        if (!ship_bomb.exploding) {
            EXPECT_TRUE(ShownAt(ship_bomb.spr[0], bx, ship_bomb.y));
        }
    }
    EXPECT_EQ(falling, 185);
    EXPECT_EQ(ship_bomb.y, 190);
    EXPECT_EQ(ship_bomb.x, bx);
    EXPECT_EQ(Sound(al_fx[2]), (Played{1, 80, 100, 1000}));
    EXPECT_EQ(Sound(al_fx[3]), (Played{1, 80, 100, 1000}));
    EXPECT_EQ(LastSoundFrame(al_fx[2]) - dropped, 14) << "y 20 is 15 pixels below the drop";
    EXPECT_EQ(LastSoundFrame(al_fx[3]) - dropped, 183);

    // The burst: each image stays until a synf tick moves it on.
    std::vector<int> shown;
    int frames = 0;
    while (ship_bomb.on && frames < 100) {
        int image = ship_bomb.frame;
        bool tick_due = false;
        Frame();
        frames++;
        tick_due = synf;
        EXPECT_TRUE(ShownAt(ship_bomb.spr[image], bx, 190)) << "image " << image;
        if (shown.empty() || shown.back() != image) shown.push_back(image);
        if (ship_bomb.on) {
            EXPECT_EQ(ship_bomb.frame, tick_due ? image + 1 : image);
        }
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(ship_bomb.on);
    EXPECT_GE(frames, 5 * 5);
    EXPECT_EQ(Sound(al_fx[3]).count, 1) << "the burst sound only once";
}

// Both ships under the bomb lose a ship each, once; a shielded ship is safe.
TEST(MotherShip, TheBombCostsEachShipUnderItOneLifeAndSparesShields) {
    struct Case {
        bool shielded;
        int lost;
    };
    for (const Case &k : {Case{false, 1}, Case{true, 0}}) {
        SCOPED_TRACE(k.shielded ? "shielded" : "open");
        EmptyField(2);
        player.x = 100;
        player2.x = 110;
        player.shield = player2.shield = k.shielded ? 1 << 20 : 0;
        player.frame = player2.frame = 0;
        int l1 = lives, l2 = lives2;
        Crossing(1, 94, 3);
        ASSERT_GT(FramesUntilDrop(20), 0);
        int hit1 = -1, hit2 = -1;
        for (int f = 0; f < 260 && ship_bomb.on; f++) {
            Frame();
            if (hit1 < 0 && lives < l1) hit1 = ship_bomb.y;
            if (hit2 < 0 && lives2 < l2) hit2 = ship_bomb.y;
        }
        EXPECT_FALSE(ship_bomb.on);
        EXPECT_EQ(l1 - lives, k.lost);
        EXPECT_EQ(l2 - lives2, k.lost);
        EXPECT_EQ(Sound(pl_fx[1]).count, 2 * k.lost);
        if (k.lost) {
            EXPECT_GT(hit1, 150) << "hit where the bomb meets the ship";
            EXPECT_GT(hit2, 150);
            EXPECT_EQ(Sound(pl_fx[1]), (Played{2, 120, 150, 1000}));
        }
    }
    // In a one-player game the ship of player 2 standing under it is ignored.
    EmptyField(1);
    player.x = 20;
    player.shield = 1 << 20;
    player2.x = 200;
    player2.shield = 0;
    player2.dead = false;
    int l2 = lives2;
    Crossing(1, 196, 3);
    Frames(260);
    EXPECT_EQ(lives2, l2);
    EXPECT_FALSE(player2.dead);
}

// Fires on every second frame from under the ship's path until it falls.
// Returns the score gained by each hit, in order.
std::vector<int> ShootDown(int &kill_x, int &kill_y) {
    std::vector<int> gains;
    for (int f = 0; f < 400 && !ship.dead; f++) {
        key[KEY_SPACE] = f % 2 ? 0 : -1;
        int hp = ship.hp, s = score, x = ship.x, y = ship.y;
        Frame();
        if (ship.hp != hp) gains.push_back(score - s);
        if (ship.dead) {
            int moved = ship.count % 2 == 0 ? 1 : 0;  // it steps on even counts
            EXPECT_EQ(ship.x, x + moved + 8);
            EXPECT_EQ(ship.y, y - 6);
            kill_x = ship.x;
            kill_y = ship.y;
        }
    }
    key[KEY_SPACE] = 0;
    return gains;
}

// Every opaque pixel of s at (x, y) shows in the last picture, except where
// a flying shot of player 1 (drawn before it climbed this frame) or the mother ship's bomb lies over it;
// false also when fewer than 20 pixels could be checked.
bool ShownBesideShots(BITMAP *s, int x, int y) {
    int seen = 0;
    for (int j = 0; j < s->h; j++) {
        for (int i = 0; i < s->w; i++) {
            int px = x + i, py = y + j;
            bool covered = ship_bomb.on && px >= ship_bomb.x && px < ship_bomb.x + 32 && py >= ship_bomb.y &&
                           py < ship_bomb.y + 32;
            for (const shot_t &b : bullet)
                covered = covered || (b.on && px >= b.x && px < b.x + 5 && py >= b.y && py < b.y + b.vy + 16);
            if (!s->line[j][i] || covered) continue;
            if (Shown(px, py) != s->line[j][i]) return false;
            seen++;
        }
    }
    return seen >= 20;
}

// Two points a hit with the hit sound and flash, 2 + 250 for the last one
// with the explosion sound; the explosion centred on the ship ends the pass
// where it stands.
TEST(MotherShip, HitsFlashAndTheKillPays252WithAnExplosionWhereItWas) {
    EmptyField(1, 1, 3);
    player.x = 150;
    player.shield = 1 << 20;
    Crossing(1, 40, 3);
    int kx = 0, ky = 0;
    std::vector<int> gains = ShootDown(kx, ky);
    ASSERT_TRUE(ship.dead);
    EXPECT_EQ(gains, (std::vector<int>{2, 2, 252}));
    EXPECT_EQ(score, 256);
    EXPECT_EQ(ship.hp, 0);
    EXPECT_EQ(ky, 14);
    EXPECT_EQ(Sound(al_fx[1]), (Played{2, 50, 100, 1000}));
    EXPECT_EQ(Sound(al_fx[0]), (Played{1, 50, 200, 1000}));
    EXPECT_TRUE(ship.exploding);
    EXPECT_EQ(ship.frame, 4);

    // The explosion plays its images 4 to 10 in place, then the pass is over.
    std::vector<int> images;
    int frames = 0;
    while (ship.state != 0 && frames < 200) {
        int image = ship.frame;
        Frame();
        frames++;
        EXPECT_EQ(ship.x, kx);
        EXPECT_EQ(ship.y, ky);
        EXPECT_TRUE(ShownBesideShots(ship.spr[image], kx, ky)) << "image " << image;
        if (images.empty() || images.back() != image) images.push_back(image);
    }
    EXPECT_EQ(images, (std::vector<int>{4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(ship.state, 0);
    EXPECT_GT(kx, 0);
    EXPECT_LT(kx, 272) << "ended in mid-screen";
    EXPECT_EQ(score, 256) << "shots pass a dead ship";
}

// The hit flash shows the flash image of the ship's direction until the
// next 80 ms tick.
TEST(MotherShip, AHitShowsTheFlashImageUntilTheNextTick) {
    EmptyField();
    player.x = 150;
    player.shield = 1 << 20;
    Crossing(2, 175, 30);  // over the shot's column when it gets there
    key[KEY_SPACE] = -1;
    Frame();
    key[KEY_SPACE] = 0;
    for (int f = 0; f < 200 && !ship.hit; f++) Frame();
    ASSERT_TRUE(ship.hit);
    EXPECT_EQ(ship.hp, 29);
    int frames = 0;
    for (;;) {
        Frame();
        frames++;
        EXPECT_TRUE(ShownUncovered(ship.spr[3], ship.x, ship.y)) << "the left-flying ship's flash";
        if (synf || frames > 10) break;
        EXPECT_TRUE(ship.hit) << "until the tick";
    }
    EXPECT_FALSE(ship.hit) << "the 80 ms tick clears it";
    EXPECT_LE(frames, 6);
    Frame();
    EXPECT_TRUE(ShownUncovered(ship.spr[1], ship.x, ship.y));
}

// A weapon-3 shot that bursts on the ship goes on hitting it with its blast
// on the following frames: several hits from one shot.
TEST(MotherShip, AWeapon3BlastKeepsHittingTheShip) {
    EmptyField(1, 3, 1);
    player.x = 150;
    player.shield = 1 << 20;
    Crossing(1, 50, 20);
    key[KEY_SPACE] = -1;
    Frame();
    key[KEY_SPACE] = 0;
    ASSERT_EQ(Sound(pl_fx[0]).count, 1);
    int first = -1, hits = 0, frames_hit = 0;
    for (int f = 0; f < 400 && bullet[0].on; f++) {
        int hp = ship.hp;
        Frame();
        if (ship.hp < hp) {
            if (first < 0) first = f;
            hits += hp - ship.hp;
            frames_hit++;
            EXPECT_EQ(hp - ship.hp, 1) << "one hit a frame";
        }
    }
    ASSERT_GE(first, 0) << "the shot met the ship";
    EXPECT_GE(hits, 4) << "the blast went on hitting";
    EXPECT_EQ(frames_hit, hits);
    EXPECT_EQ(score, 2 * hits);
    EXPECT_EQ(ship.hp, 20 - hits);
    EXPECT_EQ(Sound(pl_fx[0]).count, 1) << "all from one shot";
}

// Both players' shots hit the ship in a two-player game; a player who is out
// (shots no longer run) cannot hit it with a shot left standing.
TEST(MotherShip, BothPlayersScoreOnItButNotAPlayerWhoIsOut) {
    EmptyField(2);
    Crossing(1, 100, 10);
    player.shield = player2.shield = 1 << 20;
    bullet2[0].on = true;
    bullet2[0].blast = false;
    bullet2[0].x = 124;
    bullet2[0].y = 22;
    bullet2[0].vy = 2;
    Frame();
    EXPECT_EQ(ship.hp, 9);
    EXPECT_EQ(score2, 2);
    EXPECT_EQ(score, 0);

    gameover1 = true;
    bullet[0].on = true;
    bullet[0].blast = false;
    bullet[0].hits = 1;
    bullet[0].x = ship.x + 24;
    bullet[0].y = 22;
    Frame();
    EXPECT_EQ(ship.hp, 9);
    EXPECT_EQ(score, 0);
    EXPECT_TRUE(bullet[0].on);
}

}  // namespace
