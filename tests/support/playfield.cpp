#include "support/playfield.h"

void StartPlay(const PlayOptions &s, const std::string &script) {
    Fresh(script, 20000);  // a runaway loop ends the test, with a failure
    MODE = s.mode;
    SKILL = s.skill;
    NPLAYERS = s.players;
    LIVES = s.lives;
    MONEY = 1000;
    POWER = s.power;
    WEAPON = s.weapon;
    speed = speed2 = s.speed;
    bo_m = s.skill == 1 ? 2 : 1;
    InitPlay();
}

void Frames(int n, int march) {
    for (int i = 0; i < n; i++) {
        if (march >= 0) al_dxm = march;
        Frame();
    }
}

void ClearWave() {
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 5; r++) alien[c][r].dead = true;
}

void KeepOnly(int c, int r) {
    ClearWave();
    alien[c][r].dead = false;
}

bool ShownAt(BITMAP *s, int x, int y) {
    for (int j = 0; j < s->h; j++)
        for (int i = 0; i < s->w; i++)
            if (s->line[j][i] && Shown(x + i, y + j) != s->line[j][i]) return false;
    return true;
}

Played Sound(SAMPLE *s) {
    Played p;
    p.count = HeadlessPlays(s);
    for (int i = 0; HeadlessSound(i); i++) {
        const SoundEvent *e = HeadlessSound(i);
        if (e->sample != s) continue;
        p.vol = e->vol;
        p.pan = e->pan;
        p.freq = e->freq;
    }
    return p;
}

bool operator==(const Played &a, const Played &b) {
    return a.count == b.count && a.vol == b.vol && a.pan == b.pan && a.freq == b.freq;
}

void PrintTo(const Played &p, std::ostream *os) {
    *os << p.count << " plays, last at volume " << p.vol << " pan " << p.pan << " frequency " << p.freq;
}

static bool Inside(int x, int y, int left, int top, int w, int h) {
    return x >= left && x < left + w && y >= top && y < top + h;
}

bool DrawnOver(int x, int y) {
    if (Inside(x, y, player.x, player.y, 16, 16)) return true;
    if (NPLAYERS == 2 && Inside(x, y, player2.x, player2.y, 16, 16)) return true;
    for (const bomb_t &b : bomb)
        if (Inside(x, y, b.x, b.y, 16, 16)) return true;
    for (int i = 0; i < 4; i++) {
        if (bullet[i].on && Inside(x, y, bullet[i].x - 28, bullet[i].y - 16, 60, 76)) return true;
        if (bullet2[i].on && Inside(x, y, bullet2[i].x - 28, bullet2[i].y - 16, 60, 76)) return true;
    }
    if (bonus.on && Inside(x, y, bonus.x, bonus.y, 16, 16)) return true;
    if (ship_bomb.on && Inside(x, y, ship_bomb.x, ship_bomb.y, 32, 32)) return true;
    return false;
}

int Backdrop(int x, int y) {
    int c = getpixel(bg, 320 + x, y);
    return c ? c : bgcol;
}

bool ShownUncovered(BITMAP *s, int x, int y) {
    int seen = 0;
    for (int j = 0; j < s->h; j++) {
        for (int i = 0; i < s->w; i++) {
            if (!s->line[j][i] || DrawnOver(x + i, y + j)) continue;
            if (Shown(x + i, y + j) != s->line[j][i]) return false;
            seen++;
        }
    }
    return seen > 0;
}
