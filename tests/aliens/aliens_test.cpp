// The aliens: the formation's waves, march, landing and shadows; their
// bombs; shots against them; bonus pickups; and the mother ship with its
// bomb and the rare random events.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

// Every wave starts whole at x 30 with the given hit points and its bombs
// cleared; later waves of a stage start lower. Shadows lie only on the
// stages with ground (levels 1 to 4, 6 to 9, 21 to 24), never in Old mode:
// one line on row 216 per column with a living alien, under its first
// living alien as it stood before the frame's step, none for an empty column.
TEST(Formation, WavesStartWholeAndOnlyTheGroundHasShadows) {
    const int table[][4] = {{1, 1, 42, 1},  {1, 4, 102, 1},  {1, 5, 122, 0}, {1, 9, 102, 1}, {1, 10, 122, 0},
                            {1, 11, 42, 0}, {1, 24, 102, 1}, {2, 1, 42, 0},  {2, 3, 82, 0},  {2, 30, 102, 0}};
    for (const auto &e : table) {  // mode, level, top, shadows
        SCOPED_TRACE("mode " + std::to_string(e[0]) + " level " + std::to_string(e[1]));
        StartPlay({e[0]});
        level = e[1];
        if (e[0] == 1) LoadData((e[1] - 1) / 5 + 1);  // the level's own stage
        alien[3][2].dead = bomb[0].on = true;
        AliensInit(7);
        const alien_t &a = alien[0][0], &z = alien[7][4];
        EXPECT_TRUE(a.x == 30 && a.y == e[2] && z.x == 170 && z.y == e[2] + 80 && !alien[3][2].dead);
        EXPECT_TRUE(alien[3][2].hp == 7 && al_count == 0 && !bomb[0].on);
        for (int c = 0; c < 8; c++) alien[c][4].dead = alien[3][c % 4].dead = true;  // column 3 empty
        alien[5][0].dead = true;
        Frames(1, 1);
        EXPECT_EQ(alien[0][0].x, 31);
        for (int x = 0; x < 320; x++) {
            const int c = (x - 30) / 20, d = (x - 30) % 20;
            bool shade = e[3] && x >= 30 && c < 8 && c != 3 && d >= 2 && d <= 12;
            int want = DrawnOver(x, 216) ? Shown(x, 216) : shade ? swcol : Backdrop(x, 216);
            EXPECT_EQ(Shown(x, 216), want) << "x " << x;
        }
    }
}

// One step every al_dxm frames. An interval of 0 (the last alien) runs a
// pixel a frame, and from level 11 two, turning by the parity of its x at
// 304 or 305 on the right and at 0 or -1 on the left. The dead do not march.
TEST(Formation, MarchSpeedFollowsTheInterval) {
    StartPlay({2});  // Old mode: levels run on without the stage sheets
    for (int m = 5; m >= 1; m--) {
        int x = alien[0][0].x, frames = m > 1 ? 60 : 50;
        Frames(frames, m);
        EXPECT_EQ(alien[0][0].x - x, frames / m) << "interval " << m;
    }
    const int last[][4] = {{12, 300, 0, 304}, {12, 301, -1, 305}, {10, 301, 0, 304}};  // level, x, range
    for (const auto &e : last) {
        level = e[0], AliensInit(1), KeepOnly(2, 0), alien[2][0].x = e[1];
        int lo = 1000, hi = -1000;
        for (int i = 0; i < 400; i++, Frames(1, 0))
            lo = std::min(lo, alien[2][0].x), hi = std::max(hi, alien[2][0].x);
        EXPECT_TRUE(lo == e[2] && hi == e[3] && alien[0][0].x == 30) << e[0] << " " << e[1];
    }
}

// The step that brings a living alien to x 0 or 304 turns the march (only
// the living count), and the formation then sinks one pixel per frame for
// 20 frames while it goes on sideways. The descent that takes the bottom row
// past 200 loses the play on that step.
TEST(Formation, TurnsAtTheLivingEdgesDescendsAndLandsPast200) {
    StartPlay({});
    for (int r = 0; r < 5; r++)
        alien[7][r].dead = alien[0][r].dead = alien[r][4].dead = alien[r + 3][4].dead = true;
    alien[0][0].dead = false;  // column 0 lives by its top alien alone; the bottom row is row 3
    const alien_t &a = alien[6][0];
    int frames = 0;
    for (; al_dx > 0 && frames < 300; frames++) Frames(1, 1);
    EXPECT_EQ(frames, 154);  // column 6, from 150 to 304
    Frames(10, 1);
    EXPECT_TRUE(a.y == 52 && a.x == 294);
    Frames(40, 1);
    EXPECT_TRUE(a.y == 62 && alien[1][3].y == 122);
    while (al_dx < 0) Frames(1, 1);
    EXPECT_EQ(alien[0][0].x, 0);
    try {
        for (int f = 0; !gameover && f < 2000; f++) Frames(1, 1);
    } catch (RunOver &) {
        // the game-over screen waited for a key the script does not have
    }
    EXPECT_TRUE(gameover && alien[1][3].y == 201);  // the first step below the line
}

// Frames a bomb takes from y 100 until it leaves the field below 209.
TEST(Bombs, FallSpeedDependsOnTheDifficulty) {
    for (int skill = 1; skill <= 3; skill++) {
        StartPlay({1, skill});
        ClearWave();
        bomb[4].on = true, bomb[4].x = 200, bomb[4].y = 100;
        int frames = 0;
        for (; bomb[4].on && frames < 500; frames++) Frame();
        EXPECT_TRUE(frames == 440 >> skill && bomb[4].y == 210) << "skill " << skill << ": " << frames;
    }
}

// Drops per free slot and frame, counted over many frames with the slots
// emptied after each: 1 in 511 - 20 x level at a living place, so rarer
// with fewer aliens, and past level 25 the remainder rule of Random.
TEST(Bombs, DropRateRisesWithTheLevel) {
    const double cases[][4] = {{1, 1, 0, 1.0 / 491},   {1, 1, 20, 0.5 / 491}, {1, 24, 0, 1.0 / 31},
                               {1, 25, 30, 0.25 / 11}, {2, 26, 0, 1.0 / 9},   {2, 40, 0, 1.0 / 289}};
    for (const auto &k : cases) {  // mode, level, aliens removed from the front, chance per slot and frame
        StartPlay({int(k[0])});
        level = k[1];
        AliensInit(1);
        for (int n = 0; n < k[2]; n++) alien[n / 5][n % 5].dead = true;
        int drops = 0;
        for (int i = 0; i < 40000; i++, AliensBombInit()) {
            AliensBomb();
            for (const bomb_t &b : bomb) drops += b.on;
        }
        EXPECT_NEAR(drops, 400000 * k[3], 400000 * k[3] * 0.15) << "level " << k[1];
    }
}

// Two bombs on a ship in one frame cost one life: the second is not tested
// once the ship is dead, and falls on through the explosion; player 2's
// pass tests its own ship.
TEST(Bombs, AShipLosesAtMostOneLifePerFrame) {
    StartPlay({1, 2, 2, 1, 1, 1, 4});  // two players, four lives
    ClearWave();
    while (player.shield > 0 || player2.shield > 0) Frame();
    auto drop = [](int i, const player_t &p) {  // touches p after its first move (Medium: one pixel)
        bomb[i].on = true, bomb[i].x = p.x, bomb[i].y = FirstContact(p, bomb[i].spr[0], p.x) - 1;
    };
    drop(2, player), drop(7, player), drop(5, player2);
    Frame();
    EXPECT_TRUE(player.dead && player2.dead && lives == 3 && lives2 == 3 && !bomb[2].on && bomb[7].on &&
                !bomb[5].on);
    while (bomb[7].on) Frame();
    EXPECT_EQ(lives, 3);
}

static const int ROW_BONUS[5] = {60, 50, 40, 30, 20};  // for a kill, top row first

// Three hit points: two hits flash with the hit sound until the next 80 ms
// tick, the third explodes with the explosion sound and shows images 3 to
// 8, one per tick; 3 points plus the row's 20.
TEST(Collision, ThreeHitAlienFlashesTwiceThenExplodes) {
    StartPlay({2, 3, 1, 1, 3}, "1 press SPACE\n41 press SPACE\n81 press SPACE\n");  // Old, Hard, power 3
    KeepOnly(1, 4);
    const alien_t &a = alien[1][4];
    int hits = 0, lit = 0, shown[9] = {0};
    for (int f = 0; f < 400 && (!a.dead || a.exploding); f++) {
        int hp = a.hp, image = a.frame;
        bool flash = a.hit && !a.dead, boom = a.exploding;
        Frames(1, STILL);
        hits += a.hp < hp, lit += flash;
        EXPECT_TRUE(!flash || (ShownUncovered(a.spr[2], a.x, a.y) && a.hit == !synf)) << "frame " << f;
        if (boom) shown[image] += ShownUncovered(a.spr[image], a.x, a.y);
    }
    EXPECT_TRUE(a.dead && hits == 3 && lit >= 2 && score == 3 + 20 && a.frame == 9);
    EXPECT_EQ(Sound(al_fx[1]), (Played{2, 50, 100, 1000}));
    EXPECT_EQ(Sound(al_fx[0]), (Played{1, 50, 200, 1000}));
    EXPECT_EQ(std::count(shown + 3, shown + 9, 0), 0) << "every image 3 to 8 shown";
}

// A weapon-2 shot at power 3 goes on through a column, one alien after the
// other, until its fourth hit spends it.
TEST(Collision, Weapon2PiercesAColumnUntilItsFourthHit) {
    StartPlay({2, 1, 1, 2, 3}, "1 press SPACE\n");  // Old, Easy, weapon 2 at power 3
    KeepOnly(1, 0);
    for (int r = 1; r < 5; r++) alien[1][r].dead = false;
    Frames(200, STILL);
    EXPECT_TRUE(alien[1][4].dead && alien[1][1].dead && !alien[1][0].dead && !bullet[0].on && al_count == 4);
    EXPECT_EQ(score, 4 + ROW_BONUS[4] + ROW_BONUS[3] + ROW_BONUS[2] + ROW_BONUS[1]);
}

// Weapon 3 at power 3 bursts on the first alien it meets; for the blast's
// 21 frames every alien its image overlaps takes a hit per frame. With 3
// hit points the aliens around the burst die of the blast alone, far ones
// are untouched, and every hit scored its point.
TEST(Collision, Weapon3BlastDamagesTheAliensAroundIt) {
    StartPlay({2, 3, 1, 3, 3}, "1 press SPACE\n");  // Old, Hard, weapon 3 at power 3
    int frames = 0;
    for (; !bullet[0].blast && frames < 200; frames++) Frames(1, STILL);
    EXPECT_EQ(alien[1][4].hp, 2);
    for (; bullet[0].on && frames < 300; frames++) Frames(1, STILL);
    int dead = 0, hits = 0, bonus = 0;
    for (int n = 0; n < 40; n++) {
        const alien_t &a = alien[n / 5][n % 5];
        hits += 3 - a.hp, dead += a.dead, bonus += a.dead ? ROW_BONUS[n % 5] : 0;
        EXPECT_TRUE(n < 20 || a.hp == 3) << "alien " << n;
    }
    EXPECT_TRUE(!bullet[0].on && alien[1][4].dead && dead >= 3 && al_count == dead && score == hits + bonus);
    // the hit sound for every hit that left hit points
    EXPECT_TRUE(Sound(al_fx[0]).count == dead && Sound(al_fx[1]).count == hits - dead);
}

// Both players' shots reach one alien on the same frame. Player 1's pass
// runs first: if it destroys the alien, player 2's shot goes through it
// unharmed; with two hit points each shot deals one and the kill is
// player 2's.
TEST(Collision, TwoPlayersHitTheSameAlienOnOneFrame) {
    for (int hp = 1; hp <= 2; hp++) {
        StartPlay({2, 2, 2});  // Old mode, two players
        KeepOnly(3, 0);
        alien_t &a = alien[3][0];
        a.hp = hp;
        for (int who = 1; who <= 2; who++) PlaceShot(who, 0, a.x + 6, 150);
        for (int f = 0; !a.dead && a.hp == hp && f < 60; f++) Frames(1, STILL);
        EXPECT_TRUE(a.dead && al_count == 1 && !bullet[0].on && bullet2[0].on == (hp == 1)) << hp;
        EXPECT_TRUE(score == (hp == 1 ? 61 : 1) && score2 == (hp == 1 ? 0 : 61)) << hp;
    }
}

// A play with an empty wave and ships that nothing hits.
static void QuietField(const PlayOptions &o) {
    StartPlay(o);
    ClearWave();
    Shielded();
}

// Runs frames, the ships kept at x 0 (bonuses lie from x 20 on) and the
// mother ship out of the sky, until a bonus lies on the field.
static bool WaitForBonus() {
    for (int f = 0; f < 3000; f++) {
        ship.state = player.x = player2.x = 0;
        Frame();
        if (bonus.on && bonus.kind < 5) return true;
    }
    return false;
}

// A bonus nobody takes lies for 8 ticks of 1.1 s. Kinds 0 to 2 pay 100,
// 250 and 500 in money, 3 and 4 pay 300 and 800 in score, to the player who
// drives over them, with the bell; they show up anywhere from x 20 to 300 on
// the ships' row. The taken image is the taker's own; it rises one pixel on
// each synff tick for 1.1 s and cannot be taken again.
TEST(Bonus, LiesEightTicksOrPaysItsTakerAndRisesAway) {
    QuietField({1, 2, 2});
    ASSERT_TRUE(WaitForBonus());
    int appeared = SysMsec(), x = bonus.x, kind = bonus.kind, ticks = 0;
    for (; bonus.on; ticks += syns2) {
        EXPECT_TRUE(ShownAt(bonus.spr[kind], x, 206));
        Frame();
    }
    int lay = SysMsec() - appeared;
    EXPECT_TRUE(ticks == 8 && lay > 8 * 1100 && lay < 8 * 1100 + 8 * 2 * 17) << ticks << " " << lay;
    const int pays[5] = {100, 250, 500, 300, 800};
    std::set<int> kinds, xs;
    int takes = 0;
    for (; takes < 60 && kinds.size() < 5; takes++) {
        ASSERT_TRUE(WaitForBonus());
        const int k = bonus.kind, who = takes % 2 + 1, taken = k + 5 * who;
        int &m = who == 1 ? money : money2, &s = who == 1 ? score : score2, m0 = m, s0 = s;
        x = bonus.x, kinds.insert(k), xs.insert(x);
        (who == 1 ? player : player2).x = x;
        Frame();
        EXPECT_TRUE(bonus.kind == taken && m - m0 == (k < 3 ? pays[k] : 0) && s - s0 == (k < 3 ? 0 : pays[k]))
            << "kind " << k << " for player " << who;
        int paid = money + score + money2 + score2, taken_at = SysMsec();
        for (int f = 0, y = bonus.y; bonus.on && f < 200; f++, y = bonus.y) {
            player.x = player2.x = f % 2 ? 0 : x;  // both ships on it, or away to see it
            Frame();
            EXPECT_TRUE(!bonus.on ||
                        (bonus.y == y - synff && (f % 2 == 0 || ShownAt(bonus.spr[taken], x, y))));
        }
        int rose = SysMsec() - taken_at;  // synff comes on nearly every frame
        EXPECT_TRUE(rose > 1100 && rose < 1100 + 3 * 17 && money + score + money2 + score2 == paid) << rose;
    }
    EXPECT_TRUE(kinds.size() == 5 && *xs.begin() >= 20 && *xs.rbegin() <= 300);
    EXPECT_EQ(Sound(pl_fx[2]), (Played{takes, 120, 150, 1000}));
}

// Who collects a bonus under the ships: player 1 on a tie, an exploding
// ship while its player has lives, never a player without lives, and never
// player 2's idle record in a one-player game. Bonuses keep coming during
// boss fights; Old mode never has any.
TEST(Bonus, WhoCollectsAndWhenTheyCome) {
    // players; player 1 on it, exploding, without lives; player 2 on it; the taker: 1, 2 or nobody
    const int cases[][6] = {{2, 1, 0, 0, 1, 1}, {2, 0, 0, 0, 1, 2}, {2, 1, 1, 0, 0, 1},
                            {2, 1, 0, 1, 1, 2}, {2, 1, 0, 1, 0, 0}, {1, 0, 0, 0, 1, 0}};
    for (const auto &k : cases) {
        SCOPED_TRACE(&k - cases);
        QuietField({1, 2, k[0]});
        ASSERT_TRUE(WaitForBonus());
        int kind = bonus.kind, got1 = money + score, got2 = money2 + score2;
        if (k[2]) PlayerHit();
        if (k[3]) lives = 0;
        player.x = k[1] ? bonus.x : 0, player2.x = k[4] ? bonus.x : 0;
        Frame();
        EXPECT_TRUE(bonus.kind == kind + 5 * k[5] && Sound(pl_fx[2]).count == (k[5] > 0));
        EXPECT_TRUE(money + score - got1 == (k[5] == 1) * bonus.value &&
                    money2 + score2 - got2 == (k[5] == 2) * bonus.value);
    }
    QuietField({});
    level = 5, LevelInit();
    EXPECT_TRUE(bosshere && WaitForBonus()) << "a bonus during the boss fight";
    QuietField({2});
    EXPECT_FALSE(WaitForBonus()) << "none in Old mode";
}

// A quiet field in Old mode (no bonus to disturb the random sequence) and
// the mother ship put on a crossing by
// hand (1 to the right, 2 to the left) with its bomb free.
static void Crossing(int players, int weapon, int power, int state, int x, int hp) {
    QuietField({2, 2, players, weapon, power});
    ShipInit(hp - 1);
    ship.state = state, ship.x = x, ship.frame = state - 1;
}

// The bomb goes on the first frame the ship is past player 1 in its
// direction, from the ship's x; player 2's place does not count. It falls
// from 5 to 190 in 185 frames, the whistle at y 20 and the burst sound at
// 189, then bursts with images 0 to 4. Each ship under it loses a life,
// once, unless shielded or idle (player 2's record in a one-player game).
// Once the bomb is free, the ship drops the next on the frame after.
TEST(MotherShip, DropsOverPlayer1AndCostsEachShipUnderItOneLife) {
    for (int k = 0; k < 3; k++) {  // over both ships, over shields, in a one-player game
        const bool two = k < 2, lost = k == 0;
        SCOPED_TRACE(k);
        Crossing(two ? 2 : 1, 1, 1, two ? 2 : 1, two ? 120 : 90, 3);
        if (k != 1) Unshield();
        player.x = 100, player2.x = 110;  // a ship crossing to the left passes player 2 first
        int before = ship.x, l1 = lives, l2 = lives2, falling = 1, bx = two ? 99 : 101;
        for (int f = 0; f < 60 && !ship_bomb.on; f++) before = ship.x, Frame();
        ASSERT_TRUE(ship_bomb.on);
        EXPECT_TRUE(before == 100 && ship.x == bx && ship_bomb.x == bx && ship_bomb.y == 6)
            << "not a frame sooner";
        if (!two) player.x = 20;  // out from under it, still passed
        for (; !ship_bomb.exploding && falling < 300; falling++, Frame()) {
            EXPECT_TRUE(Sound(al_fx[2]).count == (ship_bomb.y >= 20) &&
                        Sound(al_fx[3]).count == (ship_bomb.y >= 189))
                << "y " << ship_bomb.y;
        }
        EXPECT_TRUE(falling == 185 && ship_bomb.y == 190 && ship_bomb.x == bx) << falling;
        std::vector<int> shown;
        for (int f = 0; ship_bomb.on && f < 100; f++) {
            if (shown.empty() || shown.back() != ship_bomb.frame) shown.push_back(ship_bomb.frame);
            Frame();
            EXPECT_TRUE(two || ShownAt(ship_bomb.spr[shown.back()], bx, 190)) << "image " << shown.back();
        }
        EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4}));
        EXPECT_EQ(Sound(al_fx[2]), (Played{1, 80, 100, 1000}));
        EXPECT_EQ(Sound(al_fx[3]), (Played{1, 80, 100, 1000})) << "the burst sound only once";
        EXPECT_TRUE(l1 - lives == lost && l2 - lives2 == lost);
        Frame();
        EXPECT_TRUE(ship_bomb.on && ship_bomb.x == ship.x) << "the next bomb";
    }
    for (int state = 1; state <= 2; state++) {  // a ship leaving the sky drops nothing
        Crossing(1, 1, 1, state, state == 1 ? 320 : -48, 3);
        player.x = 100, ship.count = 1;  // it moves out on the next frame
        Frame();
        EXPECT_TRUE(ship.state == 0 && !ship_bomb.on) << state;
    }
}

// Two points a hit with the hit sound and the flash image of the ship's
// direction; 2 + 250 for the last one with the explosion sound. The
// explosion, centred on the ship, stays where it is, dropping nothing, and
// the pass ends there.
TEST(MotherShip, HitsFlashAndTheKillPays252WithAnExplosionWhereItWas) {
    Crossing(1, 1, 3, 2, 200, 3);
    player.x = 150;
    std::vector<int> gains;
    int flashes = 0;
    for (int f = 0; f < 400 && !ship.dead; f++) {
        key[KEY_SPACE] = f % 2 ? 0 : -1;  // fire as fast as the key allows
        int hp = ship.hp, s = score, x = ship.x;
        bool flash = ship.hit;
        Frame();
        if (ship.hp != hp) gains.push_back(score - s);
        EXPECT_TRUE(ship.dead ? ship.x == x - (ship.count % 2 == 0) + 8 && ship.y == 14
                              : ShownUncovered(ship.spr[flash ? 3 : 1], ship.x, ship.y));
        flashes += flash;
    }
    EXPECT_TRUE(ship.dead && flashes >= 2 && gains == (std::vector<int>{2, 2, 252}));
    EXPECT_EQ(Sound(al_fx[1]), (Played{2, 50, 100, 1000}));
    EXPECT_EQ(Sound(al_fx[0]), (Played{1, 50, 200, 1000}));
    int kx = ship.x, s = score;
    player.x = 300, ship_bomb.on = false;  // the ship is past player 1 with its bomb free
    bool stayed = true;
    for (int f = 0; ship.state != 0 && f < 200; f++) Frame(), stayed &= ship.x == kx && !ship_bomb.on;
    EXPECT_TRUE(stayed && ship.state == 0 && score == s) << "it stayed and dropped nothing; shots pass";
}

// A weapon-3 shot that bursts on the ship goes on hitting it with its blast,
// one hit a frame, for its own player; a player who is out (shots no longer
// run) cannot hit it with a shot left standing.
TEST(MotherShip, ABlastKeepsHittingForItsPlayerButNoShotOfAPlayerWhoIsOut) {
    Crossing(2, 3, 1, 1, 100, 20);
    PlaceShot(2, 0, 124, 22);
    for (int f = 0; f < 400 && bullet2[0].on; f++) Frame();
    const int hits = 20 - ship.hp;  // at most one a frame of the 10-frame blast
    EXPECT_TRUE(hits >= 4 && hits <= 10 && score2 == 2 * hits && score == 0) << hits << " hits";
    gameover1 = true;
    PlaceShot(1, 0, ship.x + 24, 22);
    Frame();
    EXPECT_TRUE(ship.hp == 20 - hits && score == 0 && bullet[0].on);
}

// The rare random events, counted over many frames: a mother-ship pass
// starts on 1 in 301 frames of an empty sky, from either side with one hit
// point more than the aliens, and a bonus on 1 in 141 frames without one. A
// pass crosses the whole sky, one pixel every second frame.
TEST(RareEvents, MotherShipPassesAndBonusesComeAtTheirRates) {
    Crossing(1, 1, 1, 0, 0, 1);
    const int frames = 300000;
    int passes[3] = {0, 0, 0}, bonuses = 0, crossing = 0;
    for (int f = 0; f < frames; f++) {
        ship.state = ship.hp = 0, ship.dead = true, ship_bomb.on = bonus.on = false;
        Ship(), Bonus();
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
