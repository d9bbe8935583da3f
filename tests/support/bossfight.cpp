#include "support/bossfight.h"

#include <gtest/gtest.h>

#include <algorithm>

void StartBoss(int n, const PlayOptions &o, const std::string &script) {
    StartPlay(o, script);
    if (n > 1) {
        LoadData(n);
        al_hits = o.skill * n;
    }
    level = 5 * n;
    LevelInit();
}

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

void PastEntrance() {
    QuietFrames(ENTRANCE);
}

void Unshield() {
    player.shield = player2.shield = 0;
}

void Shielded() {
    player.shield = player2.shield = 1000;
}

void PlaceShot(int who, int i, int x, int y) {
    shot_t &s = who == 1 ? bullet[i] : bullet2[i];
    s.on = true;
    s.blast = false;
    s.x = x;
    s.y = y;
    s.vy = who == 1 ? bul_speed : bul_speed2;
    s.hits = who == 1 ? bul_pw : bul_pw2;
}

int FirstContact(const player_t &p, BITMAP *s, int x) {
    for (int y = 100; y <= 221; y++)
        if (hitTest(p.spr[1], s, p.x, p.y, x, y)) return y;
    return -1;
}

Spot OpaqueBelow(BITMAP *s, int column) {
    for (int y = s->h - 1; y >= 0; y--)
        if (getpixel(s, column, y) != 0) return {column, y};
    return {-1, -1};
}

std::vector<GroupCount> FollowGroups(const std::vector<GroupRule> &rules, int frames) {
    std::vector<GroupCount> count(rules.size());
    for (int f = 0; f < frames; f++) {
        bossbomb_t was[12];
        std::copy(boss_bomb, boss_bomb + 12, was);
        int bx = boss.x, by = boss.y;
        Shielded();
        QuietFrame();
        bool wrong = false;
        for (size_t r = 0; r < rules.size(); r++) {
            const GroupRule &g = rules[r];
            SCOPED_TRACE("fight frame " + std::to_string(boss.count) + ", group led by slot " +
                         std::to_string(g.lead));
            bool flying = false;
            for (int k = 0; k < g.n; k++) flying = flying || was[g.lead + k].on;
            const bossbomb_t &lead = was[g.lead];
            bool ended = flying && lead.y + (g.vy ? g.vy : lead.vy) > g.limit;
            bool free = !flying || ended;
            bool launched;
            if (g.launch)
                launched = free && g.launch(bx, by);
            else
                launched = free && boss_bomb[g.lead].on;
            count[r].chances += free;
            count[r].launches += launched;
            for (int k = 0; k < g.n; k++) {
                const bossbomb_t &b = boss_bomb[g.lead + k], &o = was[g.lead + k];
                if (launched) {
                    EXPECT_TRUE(b.on);
                    EXPECT_EQ(b.x, bx + g.ox[k]);
                    EXPECT_EQ(b.y, by + g.oy[k]);
                    if (!g.vy) {
                        EXPECT_GE(b.vy, 1);
                        EXPECT_LE(b.vy, 3);
                    }
                } else if (flying && !ended) {
                    EXPECT_EQ(b.on, o.on);
                    EXPECT_EQ(b.x, o.x + g.dx[k]);
                    EXPECT_EQ(b.y, o.y + (g.vy ? g.vy : o.vy));
                } else {
                    EXPECT_FALSE(b.on);
                }
            }
            wrong = wrong || ::testing::Test::HasFailure();
        }
        if (wrong) break;
    }
    return count;
}

bool ShootBody(int who) {
    BITMAP *s = boss.spr[0];
    int hp = boss.hp;
    PlaceShot(who, 0, boss.x + s->w / 2 - 2, boss.y + s->h / 2 - 8);
    QuietFrame();
    return boss.hp < hp;
}
