// Game flow: starting a play, the levels with their stages, shop visits and
// boss levels, the per-frame rules, game over, the status bar and the shop.
#pragma once

void InitPlay();     // sets a play up and starts level 1
void LevelInit();    // what belongs to the start of the level now in `level`
void GameControl();  // the per-frame rules; draws the status bar
void GameOver();     // the "GAME OVER" screen and the high-score entry
void Board();        // the status bar numbers
void Shop();         // player 1's shop visit
void Shop2();
