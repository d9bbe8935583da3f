// Boss framework.

#include "bosses/bosses.h"
#include "core/core.h"

bosspart_t boss, boss1, boss2, boss3, boss4;
bossbomb_t boss_bomb[12];
explosion_t explosion[7];
int exp_n;
bool fl_des, fl_exp;

// The boss fights arrive later; until then a boss level passes at once.
void BossInit(int) {}
void Boss() {}
bool BossExplode() {
    return true;
}
bool Boss1() {
    return false;
}
bool Boss2() {
    return false;
}
bool Boss3() {
    return false;
}
bool Boss4() {
    return false;
}
bool Boss5() {
    return false;
}
