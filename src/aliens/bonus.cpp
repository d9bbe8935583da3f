// Bonus pickups: now and then an item lies on the ships' row for a few
// seconds; the first ship over it collects money or score, and a small
// "taken" image rises from the spot.

#include "aliens/aliens.h"
#include "core/core.h"
#include "platform/platform.h"
#include "players/players.h"

bonus_t bonus;

// The bonus timer alone runs on the 1100 ms tick; it restarts when a bonus
// shows up and when one is taken.
static void BonusTimerRestart() {
    mss2 = SysMsec();
    syns2 = false;
}

// Kinds 0..2 pay money, 3 and 4 score.
static void BonusAppear() {
    static const int values[5] = {100, 250, 500, 300, 800};
    bonus.on = true;
    bonus.kind = Random(4);
    bonus.x = Random(280) + 20;
    bonus.value = values[bonus.kind];
    bonus.money = bonus.kind < 3;
    bonus.y = 206;
    BonusTimerRestart();
    bonus.count = 0;
}

// A player with lives left collects a lying bonus under the ship, even while
// the ship explodes. `taken` is 5 for player 1 and 10 for player 2.
static void BonusTake(const player_t &p, int left, int taken, int &money_to, int &score_to) {
    if (left <= 0 || bonus.kind >= 5) return;
    if (!hitTest(p.spr[1], bonus.spr[bonus.kind], p.x, p.y, bonus.x, bonus.y)) return;
    SysPlaySample(pl_fx[2], 120, 150, 1000);
    bonus.kind += taken;
    BonusTimerRestart();
    if (bonus.money)
        money_to += bonus.value;
    else
        score_to += bonus.value;
}

void Bonus() {
    if (!bonus.on && Random(140) == 0) BonusAppear();
    if (bonus.on && syns2) {
        bonus.count += 1;
        if (bonus.count == 8) bonus.on = false;
    }
    if (!bonus.on) return;
    draw_sprite(buffer, bonus.spr[bonus.kind], bonus.x, bonus.y);
    BonusTake(player, lives, 5, money, score);
    if (NPLAYERS == 2) BonusTake(player2, lives2, 10, money2, score2);
    if (bonus.kind > 4) {
        if (synff) bonus.y -= 1;
        if (syns2) bonus.on = false;
    }
}
