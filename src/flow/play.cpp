// Play start, level progression and game over.

#include "flow/flow.h"
#include "core/core.h"
#include "platform/platform.h"
#include "aliens/aliens.h"
#include "bosses/bosses.h"
#include "frontend/frontend.h"
#include "players/players.h"

void InitPlay() {
    GameInit();
    BossInit(act_boss);
    CheckExtra();
    PlayerInit();
    AliensInit(al_hits);
    LevelInit();
    ShipInit(al_hits);
}

// The last level of each stage is its boss.
static void BossLevel(int n) {
    bosshere = true;
    act_boss = n;
    BossInit(act_boss);
}

// The first level of stages 2 to 5: both shops, then the stage's sheet,
// tougher aliens, a fresh mother ship and fresh ships.
static void NewStage(int stage) {
    SysFadeOut(5);
    Shop();
    Shop2();
    LoadData(stage);
    al_hits = SKILL * stage;
    ShipInit(al_hits);
    PlayerInit();
    bonus.on = false;
}

void LevelInit() {
    if (MODE == 2) {
        // Old mode: one backdrop for every level, no bosses, shops or ending.
        if (level == 1) LoadData(6);
        return;
    }
    switch (level) {
    case 1:
        LoadData(1);
        break;
    case 5:
    case 10:
    case 15:
    case 20:
    case 25:
        BossLevel(level / 5);
        break;
    case 6:
    case 11:
    case 16:
    case 21:
        NewStage(level / 5 + 1);
        break;
    case 26:
        End();
        break;
    default:
        break;
    }
}

// The formation's march interval by how many of its aliens are gone; from
// level 11 on it speeds up sooner and its last alien moves fastest of all.
static void AlienSpeed() {
    if (al_count < 0 || al_count > 39) return;
    int early = level >= 11 ? 1 : 0;
    if (al_count <= 4)
        al_dxm = 5;
    else if (al_count <= 9)
        al_dxm = 5 - early;
    else if (al_count <= 19)
        al_dxm = 4 - early;
    else if (al_count <= 29)
        al_dxm = 3 - early;
    else if (al_count <= 38)
        al_dxm = 2 - early;
    else
        al_dxm = 1 - early;
}

// A cleared wave re-arms the 3000 ms tick; when it comes, the next level.
static void WaveEnd() {
    if (al_count == 40) {
        msss = SysMsec();
        synss = false;
        al_count = -1;
    }
    if (al_count == -1 && synss) {
        level += 1;
        LevelInit();
        AliensInit(al_hits);
    }
}

// A player is out once their lives are used up and their ship is not
// exploding any more. A play ended elsewhere (the formation landed, the
// ending finished) ends now even during an explosion: the frame loop stops
// with this frame, and the score must still reach the table.
static void GameOverOnePlayer() {
    if (!player.dead) {
        if (lives == 0) gameover1 = true;
        if (gameover1) gameover = true;
    }
    if (gameover) GameOver();
}

static void GameOverTwoPlayers() {
    if (!player.dead) {
        if (lives == 0) gameover1 = true;
        if (gameover1 && gameover2) gameover = true;
    }
    if (!player2.dead) {
        if (gameover1 && gameover2) gameover = true;
        if (lives2 == 0) gameover2 = true;
    }
    if (gameover) GameOver();
}

void GameControl() {
    Board();
    if (NPLAYERS == 1 && key[KEY_G]) Player2Enter();
    if (score > hiscore) hiscore = score;
    if (NPLAYERS == 2 && score2 > hiscore) hiscore = score2;
    AlienSpeed();
    WaveEnd();
    if (NPLAYERS == 1)
        GameOverOnePlayer();
    else if (NPLAYERS == 2)
        GameOverTwoPlayers();
}

void GameOver() {
    wait(500);
    SysFadeOut(2);
    clear_to_color(buffer, bgcol);
    SysSetPalette(pal);
    textprintf_ex(buffer, font, 124, 124, txcol, text_bg, "GAME OVER");
    ToScreen(buffer);
    wait(2000);
    SysFadeOut(4);
    ScoreBoard(2);
}
