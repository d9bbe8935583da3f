#include "support/bossfight.h"

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

bool ShootBody(int who) {
    BITMAP *s = boss.spr[0];
    int hp = boss.hp;
    PlaceShot(who, 0, boss.x + s->w / 2 - 2, boss.y + s->h / 2 - 8);
    QuietFrame();
    return boss.hp < hp;
}
