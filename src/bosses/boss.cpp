// Boss framework: setting a boss up, running the fight and its destruction,
// and the mechanics every boss uses the same way (entrance zoom, hit flash,
// projectiles against the ships, shots against the boss).

#include "bosses/bosses.h"
#include "aliens/aliens.h"
#include "core/core.h"
#include "platform/platform.h"
#include "flow/flow.h"

#include <cmath>

bosspart_t boss, boss1, boss2, boss3, boss4;
bossbomb_t boss_bomb[12];
explosion_t explosion[7];
int exp_n;
bool fl_des, fl_exp;

// ---------------------------------------------------------------------------
// Setting up
// ---------------------------------------------------------------------------

struct bossstart_t {
    int x, y, dx, dy, rate;
    int hp;     // times SKILL
    int bombs;  // projectile slots the boss uses
};

static const bossstart_t BOSS_START[6] = {
    {},
    {100, 5, 1, 1, 3, 26, 5},
    {140, 60, 2, 1, 3, 50, 6},
    {140, 60, 2, 1, 3, 70, 4},
    {100, 5, 1, 1, 2, 80, 6},
    {100, 5, 1, 1, 2, 100, 12},
};

static void PartReset(bosspart_t &p) {
    p.phase = 0;
    p.frame = 0;
    p.dead = p.falling = p.hit = false;
}

static void PodInit() {
    PartReset(boss1);
    boss1.x = 140;
    boss1.y = 60;
    boss1.dx = 2;
    boss1.dy = 1;
    boss1.rate = 3;
    boss1.count = 536;
    boss1.hp = 10 * SKILL;
    boss1.angle = 0.0;
    boss1.step = 0.1;
}

static void ArmInit() {
    bosspart_t *arm[4] = {&boss1, &boss2, &boss3, &boss4};
    for (bosspart_t *s : arm) {
        PartReset(*s);
        s->hp = 1;
        s->angle = 0.0;
        s->step = 0.05;
        s->mode = 0;
    }
}

void BossInit(int n) {
    if (n < 1 || n > 5) return;
    const bossstart_t &b = BOSS_START[n];
    exp_n = 0;
    fl_des = fl_exp = false;
    PartReset(boss);
    boss.count = 536;
    boss.x = b.x;
    boss.y = b.y;
    boss.dx = b.dx;
    boss.dy = b.dy;
    boss.rate = b.rate;
    boss.hp = b.hp * SKILL;
    if (n == 2 || n == 3 || n == 5) {
        boss.angle = 0.0;
        boss.step = 0.02;
    }
    if (n == 2) PodInit();
    if (n == 3) ArmInit();
    for (int i = 0; i < b.bombs; i++) {
        boss_bomb[i].on = false;
        boss_bomb[i].frame = 0;
        if (n == 2 || n == 3) boss_bomb[i].vy = 0;
    }
    // An explosion left running by an abandoned play must not show at the next kill.
    for (explosion_t &e : explosion) e.on = false;
}

// ---------------------------------------------------------------------------
// The fight and its end
// ---------------------------------------------------------------------------

static bool BossFrame() {
    switch (act_boss) {
    case 1:
        return Boss1();
    case 2:
        return Boss2();
    case 3:
        return Boss3();
    case 4:
        return Boss4();
    case 5:
        return Boss5();
    default:
        return false;
    }
}

// After the last explosion the next level begins: the shop and the next
// stage, or the ending after the fifth boss.
static void NextLevel() {
    bosshere = false;
    level += 1;
    LevelInit();
    AliensInit(al_hits);
    PlayerInit();
}

void Boss() {
    if (!fl_des) fl_des = BossFrame();
    if (!fl_des) return;
    fl_exp = BossExplode();
    if (fl_exp) NextLevel();
}

static bool AnyExplosion() {
    for (const explosion_t &e : explosion)
        if (e.on) return true;
    return false;
}

static void ExplosionStart(explosion_t &e) {
    exp_n += 1;
    e.on = true;
    e.frame = 0;
    e.x = boss.x - 20 + Random(60);
    e.y = boss.y - 20 + Random(80);
    SysPlaySample(al_fx[0], 50, 200, 1000);
}

// The body shrinks as explosions start, drawn again under every live one.
static void ExplosionDraw(explosion_t &e, bool fast) {
    if (exp_n < 51) rotate_scaled_sprite(buffer, boss.spr[0], boss.x, boss.y, 0, 65536 - 400 * exp_n);
    draw_sprite(buffer, e.spr[e.frame], e.x, e.y);
    if (fast ? synf : syn) e.frame += 1;
    if (e.frame == 7) e.on = false;
}

// Sixty explosions at random spots over the body, then a pause of 140
// frames with none left.
bool BossExplode() {
    if (exp_n > 59 && !AnyExplosion()) exp_n += 1;
    for (int j = 0; j < 7; j++) {
        explosion_t &e = explosion[j];
        int r = Random(5);
        if (r == 0 && exp_n < 60 && !e.on) ExplosionStart(e);
        if (e.on) ExplosionDraw(e, j % 2 == 1);
    }
    return exp_n >= 200;
}

// ---------------------------------------------------------------------------
// Body: entrance, movement helpers, animation
// ---------------------------------------------------------------------------

bool BossEntrance() {
    boss.count += 1;
    if (boss.phase != 0) return false;
    rotate_scaled_sprite(buffer, boss.spr[boss.frame], boss.x, boss.y, 0, boss.count);
    if (boss.count % boss.rate == 0) boss.y += boss.dy;
    boss.count += 1000;
    if (boss.count > 65535) {
        boss.phase = 1;
        boss.count = 0;
    }
    return true;
}

void BossAnimate(int m) {
    if (syn) boss.frame = (boss.frame + 1) % m;
    if (boss.hit) {
        boss.frame = m;
        if (synff) boss.hit = false;
    }
    draw_sprite(buffer, boss.spr[boss.frame], boss.x, boss.y);
}

void BossTurn(bosspart_t &p) {
    p.angle += p.step;
    if (p.angle >= 360.0) p.angle = 0.0;
}

int SinOf(double r, double a) {
    return (int)(r * sin(a));
}

int CosOf(double r, double a) {
    return (int)(r * cos(a));
}

// ---------------------------------------------------------------------------
// Projectile groups
// ---------------------------------------------------------------------------

bool GroupFlying(const bombgroup_t &g) {
    for (int k = 0; k < g.n; k++)
        if (boss_bomb[g.lead + k].on) return true;
    return false;
}

void GroupFly(const bombgroup_t &g) {
    if (!GroupFlying(g)) return;
    for (int k = 0; k < g.n; k++) {
        bossbomb_t &b = boss_bomb[g.lead + k];
        draw_sprite(buffer, b.spr[b.frame], b.x, b.y);
    }
    for (int k = 0; k < g.n; k++) {
        bossbomb_t &b = boss_bomb[g.lead + k];
        b.y += g.vy ? g.vy : b.vy;
        b.x += g.dx[k];
    }
    if (boss_bomb[g.lead].y <= g.limit) return;
    for (int k = 0; k < g.n; k++) boss_bomb[g.lead + k].on = false;
}

void GroupLaunch(const bombgroup_t &g) {
    for (int k = 0; k < g.n; k++) {
        bossbomb_t &b = boss_bomb[g.lead + k];
        b.x = boss.x + g.ox[k];
        b.y = boss.y + g.oy[k];
        b.on = true;
    }
}

// ---------------------------------------------------------------------------
// The ships
// ---------------------------------------------------------------------------

player_t &ShipOf(int who) {
    return who == 1 ? player : player2;
}

int &ScoreOf(int who) {
    return who == 1 ? score : score2;
}

bool ShipOpen(int who) {
    const player_t &p = ShipOf(who);
    return !p.dead && p.shield == 0;
}

void ShipLoss(int who) {
    if (who == 1)
        PlayerHit();
    else
        PlayerHit2();
}

void BombsVsShip(int who, int n) {
    const player_t &p = ShipOf(who);
    for (int i = 0; i < n; i++) {
        bossbomb_t &b = boss_bomb[i];
        if (!b.on || !ShipOpen(who)) continue;
        if (!hitTest(p.spr[1], b.spr[b.frame], p.x, p.y, b.x, b.y)) continue;
        b.on = false;
        ShipLoss(who);
    }
}

void ContactVsShip(int who, BITMAP *s, int x, int y, bool fast) {
    const player_t &p = ShipOf(who);
    if (!ShipOpen(who)) return;
    int touch = fast ? hitTestFast(p.spr[1], s, p.x, p.y, x, y) : hitTest(p.spr[1], s, p.x, p.y, x, y);
    if (touch) ShipLoss(who);
}

// ---------------------------------------------------------------------------
// The shots
// ---------------------------------------------------------------------------

// A player who is out no longer runs their shots; one left in the air then
// must not go on hitting the boss unseen.
int ShotsOf(int who) {
    if (who == 1) return gameover1 ? 0 : mbul;
    return gameover2 ? 0 : mbul2;
}

shot_t &ShotOf(int who, int i) {
    return who == 1 ? bullet[i] : bullet2[i];
}

bool ShotOn(int who, int i, const bosspart_t &p) {
    if (!ShotOf(who, i).on) return false;
    BITMAP *s = p.spr[p.frame];
    return who == 1 ? BulletHit(i, s, p.x, p.y) : BulletHit2(i, s, p.x, p.y);
}

void ShotSpent(int who, int i) {
    if (who == 1)
        RestoreBullet(i);
    else
        RestoreBullet2(i);
}

// One hit on the body; true when it was the last.
static bool BodyHit(int who, int bonus, int below, void (*speedup)()) {
    boss.hp -= 1;
    ScoreOf(who) += 5;
    if (boss.hp < below) speedup();
    if (boss.hp < 0) boss.hp = 0;
    if (boss.hp > 0) SysPlaySample(al_fx[1], 50, 100, 1000);
    boss.hit = true;
    if (boss.hp > 0) return false;
    SysPlaySample(al_fx[0], 50, 200, 1000);
    ScoreOf(who) += bonus;
    boss.dead = boss.falling = true;
    exp_n = 0;
    return true;
}

bool ShotsVsBody(int who, int bonus, int below, void (*speedup)()) {
    for (int i = 0; i < ShotsOf(who) && !boss.dead; i++) {
        if (!ShotOn(who, i, boss)) continue;
        if (BodyHit(who, bonus, below, speedup)) return true;
        ShotSpent(who, i);
    }
    return false;
}
