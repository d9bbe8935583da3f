#include "support/playfield.h"

void StartPlay(const PlayOptions &s, const std::string &script) {
    Fresh(script, 20000);  // a runaway loop ends the test, with a failure
    MODE = s.mode, SKILL = s.skill, NPLAYERS = s.players, LIVES = s.lives, MONEY = 1000;
    POWER = s.power, WEAPON = s.weapon, speed = speed2 = s.speed, bo_m = s.skill == 1 ? 2 : 1;
    InitPlay();
}

void Frames(int n, int march) {
    for (int i = 0; i < n; i++) al_dxm = march >= 0 ? march : al_dxm, Frame();
}

void ClearWave() {
    for (auto &column : alien)
        for (alien_t &a : column) a.dead = true;
}

void KeepOnly(int c, int r) {
    ClearWave(), alien[c][r].dead = false;
}

void Shielded() {
    player.shield = player2.shield = 1 << 20;
}

void Unshield() {
    player.shield = player2.shield = 0;
}

void PlaceShot(int who, int i, int x, int y) {
    shot_t &s = who == 1 ? bullet[i] : bullet2[i];
    s.on = true, s.blast = false, s.x = x, s.y = y;
    s.vy = who == 1 ? bul_speed : bul_speed2, s.hits = who == 1 ? bul_pw : bul_pw2;
}

int FirstContact(const player_t &p, BITMAP *s, int x) {
    for (int y = 100; y <= 221; y++)
        if (hitTest(p.spr[1], s, p.x, p.y, x, y)) return y;
    return -1;
}

bool ShownAt(BITMAP *s, int x, int y) {
    for (int j = 0; j < s->h; j++)
        for (int i = 0; i < s->w; i++)
            if (s->line[j][i] && Shown(x + i, y + j) != s->line[j][i]) return false;
    return true;
}

Played Sound(SAMPLE *s) {
    Played p{HeadlessPlays(s)};
    for (int i = 0; const SoundEvent *e = HeadlessSound(i); i++)
        if (e->sample == s) p.vol = e->vol, p.pan = e->pan, p.freq = e->freq;
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

// A flying shot was drawn before its move this frame; a blast where it is.
static bool ShotOver(const shot_t &b, int x, int y) {
    if (!b.on) return false;
    BITMAP *s = b.blast ? b.spr[b.frame] : b.spr[0];
    return Inside(x, y, b.x, b.y, s->w, s->h + (b.blast ? 0 : b.vy));
}

bool DrawnOver(int x, int y) {
    if (Inside(x, y, player.x, player.y, 16, 16) ||
        (NPLAYERS == 2 && Inside(x, y, player2.x, player2.y, 16, 16)))
        return true;
    for (const bomb_t &b : bomb)
        if (Inside(x, y, b.x, b.y, 16, 16)) return true;
    for (int i = 0; i < 4; i++)
        if (ShotOver(bullet[i], x, y) || ShotOver(bullet2[i], x, y)) return true;
    if (bonus.on && Inside(x, y, bonus.x, bonus.y, 16, 16)) return true;
    return ship_bomb.on && Inside(x, y, ship_bomb.x, ship_bomb.y, 32, 32);
}

int Backdrop(int x, int y) {
    int c = getpixel(bg, 320 + x, y);
    return c ? c : bgcol;
}

bool ShownUncovered(BITMAP *s, int x, int y) {
    int seen = 0;
    for (int j = 0; j < s->h; j++)
        for (int i = 0; i < s->w; i++) {
            if (!s->line[j][i] || DrawnOver(x + i, y + j)) continue;
            if (Shown(x + i, y + j) != s->line[j][i]) return false;
            seen++;
        }
    return seen > 0;
}
