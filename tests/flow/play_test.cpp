// The rules of a play: alien speed, the end of a wave and the next level,
// what each level brings, player 2 joining, game over, the status bar, and
// the shop between stages.

#include "support/playfield.h"
#include "support/shown_text.h"
#include "bosses/bosses.h"
#include "frontend/frontend.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

namespace {

void Play(int mode, int players, int skill = 2, const std::string &script = "") {
    StartPlay(PlayOptions{mode, skill, players, 1, 1, 1, 3}, script);
}

// The palette shown is the one of the given sheet in data/video.
bool ShowsSheet(const std::string &sheet) {
    PALETTE p;
    BITMAP *b = load_bmp(SourcePath("data/video/" + sheet).c_str(), p);
    if (b) destroy_bitmap(b);
    for (int i = 0; i < PAL_SIZE; i++)
        if (memcmp(&HeadlessPalette()[i], &p[i], 3)) return false;  // r, g, b: not the filler
    return b;
}

TEST(AlienSpeed, FollowsTheKillsAndIsFasterFromLevel11) {
    Play(1, 1);
    // Kills from..to: the march interval on levels 1-10 and from level 11;
    // a cleared wave (-1) waits with the interval it had.
    const int table[][4] = {{0, 4, 5, 5},   {5, 9, 5, 4},   {10, 19, 4, 3}, {20, 29, 3, 2},
                            {30, 38, 2, 1}, {39, 39, 1, 0}, {-1, -1, 7, 7}};
    for (int lv : {1, 10, 11, 40})
        for (const auto &r : table)
            for (int c = r[0]; c <= r[1]; c++) {
                std::tie(level, al_count, al_dxm, synss) = std::make_tuple(lv, c, 7, false);
                GameControl();
                EXPECT_EQ(al_dxm, lv >= 11 ? r[3] : r[2]) << "level " << lv << ", " << c << " killed";
            }
}

// Normal mode: a boss every fifth level; after it a new stage (the old one
// faded out, its sheet, tougher aliens, no bonus left over); nothing in
// between; the ending after level 25 ends the play. Old mode keeps its one
// backdrop and has none of these. Player 1 has no ships left and player 2
// does not play: no shop opens (it would wait for keys).
TEST(LevelInit, BossesEveryFifthLevelNewStagesAfterThemNothingBetweenAndTheEndAt26) {
    const int stage_hits[] = {6, 9, 12, 15};
    for (int mode : {1, 2}) {
        Play(mode, 1, 3);
        std::tie(lives, lives2) = std::make_tuple(0, 5);
        EXPECT_TRUE(mode == 1 || ShowsSheet("stageold.bmp"));
        for (int lv = 2; lv <= 26; lv++) {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << ", level " << lv);
            std::tie(level, bosshere, bonus.on) = std::make_tuple(lv, false, true);
            int hits = al_hits, boss_was = act_boss;
            long before = HeadlessFrame();
            LevelInit();
            bool boss = mode == 1 && lv % 5 == 0, stage = mode == 1 && lv % 5 == 1;
            EXPECT_EQ(gameover, mode == 1 && lv == 26);
            if (lv == 26) break;
            EXPECT_EQ(std::make_tuple(bosshere, act_boss, HeadlessFrame() - before, al_hits, bonus.on),
                      std::make_tuple(boss, boss ? lv / 5 : boss_was, stage ? 23L : 0L,
                                      stage ? stage_hits[lv / 5 - 1] : hits, !stage));
            EXPECT_TRUE(!stage || ShowsSheet("stage" + std::to_string(lv / 5 + 1) + ".bmp"));
        }
    }
}

// The next level comes 3000 ms after the wave is cleared, the tick re-armed
// then; Old mode goes on past level 25 with no ending.
TEST(WaveEnd, TheNextLevelComes3000msAfterTheLastAlien) {
    Play(2, 1);
    Shielded();
    level = 25;
    msss = SysMsec() - 10000;  // the tick would be due at once, were it not re-armed
    al_count = 40;
    long frames = 0;
    for (; level == 25 && frames < 400; frames++) Frame();
    EXPECT_EQ(level, 26);
    EXPECT_GE(frames, 180);
    EXPECT_LE(frames, 182);
    EXPECT_FALSE(gameover);
}

TEST(Rules, TheHighScoreFollowsEitherPlayersScoreAndPlayerTwoJoinsOnceWithG) {
    Play(2, 1, 1, "10 down G\n");
    // players, score, score2: the high score from 5000 (player 2 counts once joined)
    const int rows[][4] = {{1, 4000, 9000, 5000}, {1, 5001, 9000, 5001}, {2, 5001, 9000, 9000}};
    for (const auto &r : rows) {
        std::tie(NPLAYERS, hiscore, score, score2) = std::make_tuple(r[0], 5000, r[1], r[2]);
        GameControl();
        EXPECT_EQ(hiscore, r[3]);
    }
    std::tie(NPLAYERS, score2) = std::make_tuple(1, 777);
    Frames(12);
    EXPECT_EQ(std::tie(NPLAYERS, lives2, score2), std::make_tuple(2, LIVES, 0));
    score2 = 300;
    Frames(5);  // G still held
    EXPECT_EQ(score2, 300);
}

// A player is out once the last ship's explosion has finished; with two,
// the play ends once both are out (player 2 found out after player 1's test
// of the frame). Then 500 ms, a fade, "GAME OVER" for 2000 ms in the stage's
// text colour on the cleared screen, a fade: about four seconds.
TEST(GameOver, APlayerIsOutOnceTheLastExplosionHasFinishedAndThePlayEndsWhenAllAre) {
    for (int players : {1, 2}) {
        SCOPED_TRACE(players);
        Play(1, players);
        lives = lives2 = 0;
        player_t &last = players == 1 ? player : player2;
        last.dead = true;
        Frames(2);
        EXPECT_EQ(std::tie(gameover1, gameover2, gameover), std::make_tuple(players == 2, false, false));
        last.dead = false;
        if (players == 2) Frame();
        EXPECT_EQ(std::tie(gameover2, gameover), std::make_tuple(players == 2, false));
        for (scoreentry_t &e : scoretb) e = {"best", 1000000, 26};  // the table out of reach
        long before = HeadlessFrame();
        Frame();
        EXPECT_GE(HeadlessFrame() - before, 230);
        EXPECT_LE(HeadlessFrame() - before, 245);
        EXPECT_TRUE(ShowsText(124, 124, txcol, bgcol, "GAME OVER"));
        EXPECT_EQ(Shown(5, 5), bgcol);
        EXPECT_EQ(Shown(300, 250), bgcol);
        EXPECT_TRUE(gameover);
    }
}

// The formation lands while player 1's last ship explodes: the play's loop
// ends on that frame, after "GAME OVER" and the score's entry in the table.
TEST(GameOver, ALandingDuringTheLastExplosionStillEntersTheScore) {
    ScratchSubdir dir("landing");
    Play(1, 1, 2, "600 type ACE\n610 press ENTER\n620 press SPACE\n");
    for (scoreentry_t &e : scoretb) e = {"low", 10, 1};
    std::tie(level, score, lives) = std::make_tuple(3, 12345, 1);
    KeepOnly(2, 4);
    alien[2][4].y = 201;
    al_dxm = 1;  // it steps, and so lands, on the next frame
    PlayerHit();
    ASSERT_TRUE(player.dead);
    Frame();
    EXPECT_TRUE(gameover);
    EXPECT_EQ(std::make_tuple(std::string(scoretb[0].name), scoretb[0].score, scoretb[0].level),
              std::make_tuple(std::string("ACE"), 12345, 3));
}

// Each number at its place; reserve ships (the one in play does not count,
// never below zero); no money in Old mode; player 2's line only for two. The
// top strip goes back over whatever flew through it.
TEST(StatusBar, ShowsEveryNumberAtItsPlaceOverTheRestoredTopStrip) {
    auto bare = [](int x, int y, int w) {
        for (int j = y; j < y + 8; j++)
            for (int i = x; i < x + w; i++)
                if (Shown(i, j) != Backdrop(i, j)) return false;
        return true;
    };
    const int at[8][2] = {{68, 0},    {183, 0},  {40, 226},  {158, 226},
                          {288, 226}, {40, 241}, {158, 241}, {288, 241}};
    // Normal mode for two with player 1's last ship exploding; Old mode for
    // one. Null: the bare backdrop.
    const char *shown[2][8] = {{"4", "123456", "4321", "999", "0", "55", "12034", "2"},
                               {"4", "123456", "4321", nullptr, "2", nullptr, nullptr, nullptr}};
    for (int k = 0; k < 2; k++) {
        Play(k + 1, 2 - k);
        std::tie(level, hiscore, score, money, lives, score2, money2, lives2) =
            std::make_tuple(4, 123456, 4321, 999, 3 * k, 55, 12034, 3);
        player.dead = k == 0;
        Paint();
        rectfill(buffer, 0, 0, 319, 8, 77);  // something drawn over the strip this frame
        GameControl();
        ToScreen(buffer);
        for (int i = 0; i < 8; i++)
            EXPECT_TRUE(shown[k][i] ? ShowsText(at[i][0], at[i][1], txcol, bgcol, shown[k][i])
                                    : bare(at[i][0], at[i][1], 32))
                << "case " << k << ", number " << i;
        EXPECT_TRUE(k == 0 || bare(0, 241, 320)) << "the whole second line is bare";
        BITMAP *strip = create_sub_bitmap(board1, 0, 0, 68, 9);  // left of the level
        EXPECT_TRUE(ShownUncovered(strip, 0, 0));
        destroy_bitmap(strip);
    }
}

// A player's values in the shop: money, power, speed, weapon, lives.
using Wallet = std::tuple<int, int, int, int, int>;
Wallet W(int money, int power = 1, int speed = 1, int weapon = 1, int lives = 3) {
    return Wallet{money, power, speed, weapon, lives};
}
std::tuple<int &, int &, int &, int &, int &> Of(int who) {
    return who == 2 ? std::tie(money2, power2, speed2, weapon2, lives2)
                    : std::tie(money, power, speed, weapon, lives);
}

// A Normal-mode play with both players' values set.
void Customer(int players, const Wallet &w1, const Wallet &w2, const std::string &script = "") {
    StartPlay(PlayOptions{1, 2, players}, script);
    Of(1) = w1;
    Of(2) = w2;
}

// Runs a shop with the keys pressed from frame 400 (once it has faded in and
// emptied the key buffer) until the player leaves (true) or the keys run out
// while it waits for the next one (false).
bool Visit(void (*shop_fn)(), const std::string &keys) {
    return RunUntil(shop_fn, 20000, Presses(KeyNames(keys), 400));
}

// Every visit ends waiting for a key; then the picture shows the cursor, the
// message line, the served player's values and the sounds heard so far:
// one sale sound per purchase, one refusal sound per refused press.
TEST(Shop, VisitsShowTheCursorTheValuesAndTheMessagesAndSoundTheSalesAndRefusals) {
    enum { BLANK, AT_MAXIMUM, NO_MONEY, HAVE_WEAPON };
    const std::string message[4] = {std::string(29, ' '), "This item its at maximus!    ",
                                    "Insufficent money!           ", "You have already this weapon!"};
    // the keys from the leave cell to each cell
    const std::string r = "RIGHT ", rdd = "RIGHT DOWN DOWN ";
    const std::string path[7] = {"", r + "UP", r, r + "DOWN", rdd, rdd + "RIGHT", rdd + "RIGHT RIGHT"};
    const int cell_x[7] = {25, 70, 70, 70, 70, 115, 160}, cell_y[7] = {81, 52, 81, 110, 170, 170, 170};
    struct Case {
        int who, cell;
        std::string keys;
        Wallet w, after;
        int message, sales, refusals, cursor;
    };
    std::vector<Case> cases = {
        // money is tested before the limit; ships cost 5000
        {1, 1, "SPACE", W(4000, 3), W(4000, 3), NO_MONEY, 0, 1, 1},
        {1, 1, "SPACE", W(6000, 3), W(6000, 3), AT_MAXIMUM, 0, 1, 1},
        {1, 3, "SPACE", W(4999), W(4999), NO_MONEY, 0, 1, 3},
        // owning a weapon decides whatever the money; the shorter message
        // fully covers the longer one and stays over a move
        {1, 4, "SPACE RIGHT SPACE RIGHT", W(0), W(0), NO_MONEY, 0, 2, 6},
        // down to the last coin and up to the limits; weapons traded down and up again
        {1, 1, "SPACE DOWN", W(5000, 2), W(0, 3), BLANK, 1, 0, 2},
        {1, 2, "SPACE SPACE UP", W(4000), W(0, 1, 3), BLANK, 2, 0, 1},
        {1, 6, "SPACE LEFT", W(8000), W(0, 1, 1, 3), BLANK, 1, 0, 5},
        {1, 4, "SPACE RIGHT SPACE RIGHT", W(9000, 1, 1, 3), W(0, 1, 1, 2), BLANK, 2, 0, 6},
        // ships have no limit: fire pressed again and again buys while the money lasts
        {1, 3, "SPACE SPACE SPACE", W(11000), W(1000, 1, 1, 1, 5), NO_MONEY, 2, 1, 3},
        // player 2 shops with W, S, A, D and G; player 1's keys do nothing there
        {2, 0, "RIGHT SPACE D W G S S G S D G", W(12000, 1, 2, 2, 2), W(2000, 2, 2, 2, 3), HAVE_WEAPON, 2, 1,
         5},
        // several held keys apply in the order up, down, left, right
        {1, 3, "DOWN+RIGHT", W(0), W(0), BLANK, 0, 0, 5},
        {1, 0, "LEFT+RIGHT", W(0), W(0), BLANK, 0, 0, 2},
    };
    // Where up, down, left and right lead from each cell: up never reaches
    // the leave cell and goes into the left column only from weapon 1, left
    // from the weapons row stops at weapon 1.
    const int moves[7][4] = {{0, 0, 0, 2}, {1, 2, 0, 1}, {1, 3, 0, 2}, {2, 4, 0, 3},
                             {3, 4, 4, 5}, {5, 5, 4, 6}, {6, 6, 5, 6}};
    const char *dirs[4] = {"UP", "DOWN", "LEFT", "RIGHT"};
    for (int c = 0; c < 7; c++)
        for (int d = 0; d < 4; d++) cases.push_back({1, c, dirs[d], W(1), W(1), BLANK, 0, 0, moves[c][d]});
    for (const Case &k : cases) {
        SCOPED_TRACE(::testing::Message() << "player " << k.who << " from " << k.cell << " with " << k.keys);
        Customer(k.who, k.who == 1 ? k.w : W(20000), k.who == 2 ? k.w : W(20000));
        EXPECT_FALSE(Visit(k.who == 1 ? Shop : Shop2, path[k.cell] + " " + k.keys));
        EXPECT_EQ(Of(k.who), k.after);
        EXPECT_EQ(Of(3 - k.who), W(20000));
        // the cursor: one frame of 102 pixels, around its cell
        const int x = cell_x[k.cursor], y = cell_y[k.cursor];
        EXPECT_EQ(CountColour(18, x, y, x + 26, y + 25), 102);
        EXPECT_EQ(CountColour(18, 25, 52, 186, 195), 102);
        EXPECT_TRUE(ShowsText(0, 236, 14, 2, message[k.message]));
        EXPECT_TRUE(
            ShowsText(0, 228, 14, 2, "Player " + std::to_string(k.who) + " please choose your items..."));
        EXPECT_TRUE(ShowsText(8, 120, 14, 2, std::to_string(std::get<0>(k.after)) + "      ", 7 * 8));
        EXPECT_TRUE(ShowsText(273, 120, 14, 2, std::to_string(std::get<4>(k.after)) + "  ", 3 * 8));
        // power and speed: one mark box per level above 1
        EXPECT_EQ(CountColour(18, 281, 67, 301, 76), 90 * (std::get<1>(k.after) - 1));
        EXPECT_EQ(CountColour(18, 281, 82, 301, 91), 90 * (std::get<2>(k.after) - 1));
        EXPECT_TRUE(ShownAt(shop[std::get<3>(k.after)], 250, 170));
        EXPECT_EQ(Sound(pl_fx[3]), (k.refusals ? Played{k.refusals, 120, 150, 1000} : Played()));
        EXPECT_EQ(Sound(pl_fx[4]), (k.sales ? Played{k.sales, 120, 150, 1000} : Played()));
    }
}

// Fire on the leave cell ends the visit: nothing bought, both players' shot
// values recomputed, the screen faded to black.
TEST(Shop, LeavingRecomputesTheShotsAndFadesOut) {
    Customer(2, W(9000, 2, 1, 3), W(0, 3, 1, 2));
    EXPECT_TRUE(Visit(Shop, "SPACE"));
    EXPECT_EQ(Of(1), W(9000, 2, 1, 3));
    EXPECT_EQ(std::tie(mbul, bul_speed, bul_pw, mbul2, bul_speed2, bul_pw2),
              std::make_tuple(2, 2, 1, 3, 5, 4));
    EXPECT_EQ(memcmp(HeadlessPalette(), black_palette, sizeof(PALETTE)), 0);
}

// A new stage opens player 1's shop, then player 2's (the other way round
// the keys would run out in player 1's shop), then shows the stage-2 sheet.
// Both fire keys are held through the end of the wave: held since before a
// shop opened, fire neither buys nor leaves; once let go, a press does.
TEST(Shop, ANewStageOpensBothShopsInTurnAndFireHeldSinceBeforeCountsOnlyOnceLetGo) {
    Customer(2, W(10000), W(10000, 1, 1, 1, 9),
             Presses(KeyNames("RIGHT LEFT"), 400) + "0 down SPACE\n0 down G\n410 up SPACE\n" +
                 Presses(KeyNames("RIGHT SPACE SPACE LEFT SPACE"), 420, 2) + Presses(KeyNames("D A"), 800) +
                 "810 up G\n" + Presses(KeyNames("D G S G A G"), 820, 2));
    level = 6;
    LevelInit();
    EXPECT_EQ(Of(1), W(6000, 1, 3));
    EXPECT_EQ(Of(2), W(3000, 1, 2, 1, 10));
    EXPECT_EQ(bgcol, 4);
}

}  // namespace
