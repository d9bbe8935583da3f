// Play start, level progression and game over.

#include "flow/flow.h"
#include "core/core.h"
#include "core/platform.h"
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

void LevelInit() {
    if (MODE == 2) {
        if (level == 1) LoadData(6);
        return;
    }
    if (level == 1) LoadData(1);
}

// The rules of the play arrive with the play itself.
void GameControl() {
    Board();
}
void GameOver() {}
