// A Normal-mode play from the title menu into stage 2, driven by key events
// only: bonuses collected, waves cleared, a visit to the shop that buys
// weapon 3, and the new weapon fired in stage 2.
//
// A pilot decides the keys frame by frame from what it sees (the nearest
// alien, a bonus worth driving to, bombs overhead) and feeds them to the
// virtual clock as script events one frame ahead, exactly as a key script
// would hold them; the whole script is kept. The stage-1 boss is skipped by
// setting the play state in-process: once two waves are cleared, the third
// is played as level 5, whose end opens the shop. With EARTHGUARD_PREVIEWS
// set, the pictures, the script and the final line are also written there.

#include "support/playfield.h"
#include "core/runner.h"
#include "frontend/frontend.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

namespace {

std::string OutDir() {
    const char *dir = getenv("EARTHGUARD_PREVIEWS");
    return dir && *dir ? dir : ScratchDir();
}

struct Pilot {
    std::string script;        // every key event, as a script
    std::map<int, bool> held;  // key -> held from the next frame
    bool fire_down = false;    // the fire key was put down last frame

    void Event(long frame, const std::string &what) {
        std::string line = std::to_string(frame) + " " + what + "\n";
        std::string err;
        if (!HeadlessParseScript(line, &err)) ADD_FAILURE() << err;
        script += line;
    }
    void Hold(int k, const char *name, bool down) {
        if (held[k] == down) return;
        held[k] = down;
        Event(HeadlessFrame() + 1, std::string(down ? "down " : "up ") + name);
    }
    void Steer(int dir) {
        Hold(KEY_LEFT, "LEFT", dir < 0);
        Hold(KEY_RIGHT, "RIGHT", dir > 0);
    }
    // A shot needs the key up in between.
    void Fire(bool want) {
        bool down = want && !fire_down;
        Hold(KEY_SPACE, "SPACE", down);
        fire_down = down;
    }
    void Release() {
        Steer(0);
        Fire(false);
    }
};

// A bomb of either kind will come down on x soon.
bool Danger(int x) {
    for (const bomb_t &b : bomb)
        if (b.on && b.y > 120 && b.x + 16 > x - 3 && b.x < x + 19) return true;
    return ship_bomb.on && ship_bomb.y > 90 && ship_bomb.x + 32 > x - 3 && ship_bomb.x < x + 19;
}

// Where alien a will be when a shot fired now from the ship's row reaches it,
// allowing for the march while the shot climbs.
int AlienAhead(const alien_t &a) {
    int climb = (player.y - a.y - 16) / (bul_speed > 0 ? bul_speed : 1);
    return a.x + (al_dxm > 0 ? al_dx * climb / al_dxm : 2 * al_dx * climb);
}

// The lowest living alien of each column is the one a shot meets first.
const alien_t *Lowest(int c) {
    for (int r = 4; r >= 0; r--)
        if (!alien[c][r].dead) return &alien[c][r];
    return NULL;
}

// A shot fired from x now meets an alien.
bool OnTarget(int x) {
    for (int c = 0; c < 8; c++) {
        const alien_t *a = Lowest(c);
        if (!a) continue;
        int ax = AlienAhead(*a);
        if (ax + 3 <= x + 10 && ax + 12 >= x + 6) return true;
    }
    return false;
}

// Where to stand for the lowest alien of all (the nearest of equals); -1
// with no alien left.
int AlienTarget() {
    int best = -1, best_y = -1, best_dist = 1 << 30;
    for (int c = 0; c < 8; c++) {
        const alien_t *a = Lowest(c);
        if (!a) continue;
        int x = AlienAhead(*a);
        if (x < 0) x = 0;
        if (x > 304) x = 304;
        int dist = std::abs(x - player.x);
        if (a->y > best_y || (a->y == best_y && dist < best_dist)) {
            best_y = a->y;
            best_dist = dist;
            best = x;
        }
    }
    return best;
}

// One frame's decision, taken before the frame runs.
void Decide(Pilot &p) {
    if (player.dead) return p.Release();
    int x = player.x;
    bool pause = al_count == -1;
    if (pause && SysMsec() - msss > 2400) return p.Release();  // nothing held into the next level's screens
    bool shoot = !pause && OnTarget(x);
    if (Danger(x)) {
        bool left_safe = x > 40 && !Danger(x - 24);
        p.Steer(left_safe || x > 260 ? -1 : 1);
        return p.Fire(shoot);
    }
    int target = -1;
    if (bonus.on && bonus.kind < 5) {
        int frames_left = (8 - bonus.count) * 66;
        if (std::abs(bonus.x - x) * 2 < frames_left - 20) target = bonus.x;
    }
    if (target < 0 && !pause) target = AlienTarget();
    if (target < 0 || std::abs(target - x) <= 1)
        p.Steer(0);
    else
        p.Steer(target < x ? -1 : 1);
    p.Fire(shoot);
}

TEST(StageRun, FromTheTitleThroughBonusesWavesAndTheShopToWeapon3InStage2) {
    // Title: 5 lives, down to "START GAME", the money extra (M), start.
    const std::string title =
        "140 press DOWN\n142 press RIGHT\n144 press DOWN\n146 press DOWN\n148 press DOWN\n"
        "150 press M\n152 press SPACE\n";
    Fresh(title, 60000);
    Pilot p;
    p.script = title;
    const std::string out = OutDir();
    std::string final_line;
    int bonuses = 0, waves = 0, shop_frame = -1;
    long fired_at = -1;
    bool shot_saved = false, blast_saved = false;
    try {
        Title();
        ASSERT_TRUE(CHEAT2);
        ASSERT_EQ(MONEY, 12000);
        InitPlay();
        while (!gameover && level < 7) {
            Decide(p);
            bool lying = bonus.on && bonus.kind < 5;
            int lv = level;
            Frame();
            if (lying && bonus.kind >= 5 && bonus.kind < 10) bonuses++;
            if (level != lv) waves++;
            // Two waves of stage 1 played: the third is played as level 5.
            if (level == 3 && lv == 2) {
                level = 5;
                p.script += "# frame " + std::to_string(HeadlessFrame()) + ": level 3 set to 5 in-process\n";
            }
            // The last wave of stage 1 is down: the shop's keys, after its
            // fade-in. Speed +1, weapon 3, a picture, then out.
            if (level == 5 && al_count == -1 && shop_frame < 0) {
                shop_frame = (int)HeadlessFrame() + 600;
                const char *keys[] = {"RIGHT", "SPACE", "DOWN", "DOWN", "RIGHT", "RIGHT",
                                      "SPACE", "LEFT",  "LEFT", "UP",   "LEFT",  "SPACE"};
                for (int k = 0; k < 12; k++) p.Event(shop_frame + 10 * k, std::string("press ") + keys[k]);
                HeadlessAddShot(shop_frame + 62, out + "/shop.png");
            }
            if (level == 6 && fired_at < 0 && bullet[0].on) fired_at = HeadlessFrame();
            if (fired_at > 0 && !shot_saved && bullet[0].on && !bullet[0].blast && bullet[0].y < 120) {
                HeadlessAddShot(HeadlessFrame(), out + "/weapon3.png");
                shot_saved = true;
            }
            if (shot_saved && !blast_saved && bullet[0].on && bullet[0].blast && bullet[0].frame == 5) {
                HeadlessAddShot(HeadlessFrame(), out + "/weapon3-blast.png");
                blast_saved = true;
            }
            if (blast_saved && HeadlessFrame() > fired_at + 900) break;
        }
        Frame();  // the weapon-3 picture is taken as the next frame begins
    } catch (RunOver &) {
        ADD_FAILURE() << "the run ended early at frame " << HeadlessFrame();
    }
    final_line = FinalLine();
    printf("%s\n", final_line.c_str());
    std::ofstream(out + "/final.txt")
        << final_line << "\n"
        << "bonuses collected: " << bonuses << ", waves cleared: " << waves << ", shop keys from frame "
        << shop_frame << ", first weapon-3 shot at frame " << fired_at << "\n";
    std::ofstream(out + "/run-script.txt") << p.script;

    EXPECT_FALSE(gameover);
    EXPECT_GE(bonuses, 2);
    EXPECT_EQ(waves, 3) << "two waves of stage 1 and its last";
    EXPECT_EQ(level, 6);
    EXPECT_EQ(weapon, 3);
    EXPECT_EQ(speed, 2);
    EXPECT_EQ(bgcol, 4) << "stage 2";
    EXPECT_GT(fired_at, 0);
    EXPECT_TRUE(shot_saved);
    EXPECT_TRUE(blast_saved);
    EXPECT_GT(score, 0);
    FILE *f = fopen((out + "/shop.png").c_str(), "rb");
    EXPECT_TRUE(f != NULL);
    if (f) fclose(f);
}

}  // namespace
