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

void PastEntrance() {
    QuietFrames(ENTRANCE);
}

bool operator==(const Box &a, const Box &b) {
    return a.x0 == b.x0 && a.x1 == b.x1 && a.y0 == b.y0 && a.y1 == b.y1;
}

void PrintTo(const Box &b, std::ostream *os) {
    *os << "x " << b.x0 << ".." << b.x1 << ", y " << b.y0 << ".." << b.y1;
}

Box FollowBody(const std::vector<At> &at, int frames, bool drawn, const std::function<void(int t)> &each) {
    Box box;
    size_t next = 0;
    for (int t = 1; t <= frames; t++) {
        Shielded();
        QuietFrame();
        EXPECT_EQ(boss.count, t);
        box = {std::min(box.x0, boss.x), std::max(box.x1, boss.x), std::min(box.y0, boss.y),
               std::max(box.y1, boss.y)};
        if (next < at.size() && at[next].t == t) {
            EXPECT_EQ(boss.x, at[next].x) << "frame " << t;
            EXPECT_EQ(boss.y, at[next].y) << "frame " << t;
            EXPECT_TRUE(!drawn || ShownUncovered(boss.spr[boss.frame], boss.x, boss.y)) << "frame " << t;
            next++;
        }
        if (each) each(t);
    }
    EXPECT_EQ(next, at.size()) << "places not reached, or not in order";
    return box;
}

std::vector<GroupCount> FollowGroups(const std::vector<GroupRule> &rules, int frames) {
    std::vector<GroupCount> count(rules.size());
    for (int f = 0; f < frames; f++) {
        bossbomb_t was[12];
        std::copy(boss_bomb, boss_bomb + 12, was);
        int bx = boss.x, by = boss.y;
        Shielded();
        QuietFrame();
        for (size_t r = 0; r < rules.size(); r++) {
            const GroupRule &g = rules[r];
            SCOPED_TRACE("fight frame " + std::to_string(boss.count) + ", group led by slot " +
                         std::to_string(g.lead));
            bool flying = false;
            for (int k = 0; k < g.n; k++) flying = flying || was[g.lead + k].on;
            const bossbomb_t &lead = was[g.lead];
            bool ended = flying && lead.y + (g.vy ? g.vy : lead.vy) > g.limit;
            bool free = !flying || ended;
            bool launched = free && (g.launch ? g.launch(bx, by) : boss_bomb[g.lead].on);
            count[r].chances += free;
            count[r].launches += launched;
            for (int k = 0; k < g.n; k++) {
                const bossbomb_t &b = boss_bomb[g.lead + k], &o = was[g.lead + k];
                if (launched) {
                    EXPECT_TRUE(b.on);
                    EXPECT_EQ(b.x, bx + g.ox[k]);
                    EXPECT_EQ(b.y, by + g.oy[k]);
                    EXPECT_TRUE(g.vy || (b.vy >= 1 && b.vy <= 3)) << b.vy;
                } else if (flying && !ended) {
                    EXPECT_EQ(b.on, o.on);
                    EXPECT_EQ(b.x, o.x + g.dx[k]);
                    EXPECT_EQ(b.y, o.y + (g.vy ? g.vy : o.vy));
                } else {
                    EXPECT_FALSE(b.on);
                }
            }
        }
        if (::testing::Test::HasFailure()) break;
    }
    return count;
}

double RandomRate(const std::vector<GroupCount> &c, size_t from) {
    int launches = 0, chances = 0;
    for (size_t r = from; r < c.size(); r++) {
        launches += c[r].launches;
        chances += c[r].chances;
    }
    return double(launches) / chances;
}

bool ShootBody(int who) {
    BITMAP *s = boss.spr[0];
    int hp = boss.hp;
    PlaceShot(who, 0, boss.x + s->w / 2 - 2, boss.y + s->h / 2 - 8);
    QuietFrame();
    return boss.hp < hp;
}
