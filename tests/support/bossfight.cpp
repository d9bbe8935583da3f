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
    AliensInit(al_hits);  // as the end of the wave before leaves it
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

Followed Follow(int frames, const std::vector<At> &at, const std::vector<GroupRule> &rules, bool drawn,
                const std::function<void(int t)> &each) {
    Followed r;
    r.launches.resize(rules.size());
    r.chances.resize(rules.size());
    size_t next = 0;
    for (int t = 1; t <= frames && !::testing::Test::HasFailure(); t++) {
        bossbomb_t was[12];
        std::copy(boss_bomb, boss_bomb + 12, was);
        int bx = boss.x, by = boss.y;
        Shielded();
        QuietFrame();
        EXPECT_EQ(boss.count, t);
        r.box = {{std::min(r.box[0], boss.x), std::max(r.box[1], boss.x), std::min(r.box[2], boss.y),
                  std::max(r.box[3], boss.y)}};
        if (next < at.size() && at[next].t == t) {
            EXPECT_EQ(boss.x, at[next].x) << "frame " << t;
            EXPECT_EQ(boss.y, at[next].y) << "frame " << t;
            EXPECT_TRUE(!drawn || ShownUncovered(boss.spr[boss.frame], boss.x, boss.y)) << "frame " << t;
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
            r.chances[i] += free;
            r.launches[i] += launched;
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
    return r;
}

bool ShootBody(int who) {
    BITMAP *s = boss.spr[0];
    int hp = boss.hp;
    PlaceShot(who, 0, boss.x + s->w / 2 - 2, boss.y + s->h / 2 - 8);
    QuietFrame();
    return boss.hp < hp;
}
