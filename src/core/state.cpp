// Game state and settings: the globals every part of the game shares, and
// the reset that starts a play.

#include "core/core.h"
#include "aliens/aliens.h"

int MODE, SKILL, NPLAYERS, LIVES, MONEY, POWER, WEAPON;
bool CHEAT, CHEAT2;

int lives, lives2;
int score, score2;
int money, money2;
int power, power2;
int weapon, weapon2;
int speed, speed2;
bool gameover1, gameover2;

int level;
int hiscore;
bool gameover;
bool bosshere;
int act_boss;
int al_hits;
int bgcol, txcol, swcol;
int text_bg;

void GameInit() {
    gameover = gameover1 = gameover2 = false;
    level = 1;
    lives = lives2 = LIVES;
    money = MONEY;
    score = 0;
    money2 = MONEY;
    score2 = 0;
    al_hits = SKILL;
    act_boss = 1;
    bosshere = false;
    weapon = weapon2 = WEAPON;
    power = power2 = POWER;
    bonus.on = false;
    bonus.count = 0;
    bonus.y = 206;
    text_bg = bgcol;
}
