// Front end and sequences: the title menu, the high-score table, the intro
// story and the ending.
#pragma once

#include <allegro.h>
#include <cstdio>

void Title();    // the title menu; returns when a game is to start
void Credits();  // the credits box on the title picture

// The title screen's hidden extras, taken while the cursor is on "START GAME".
// The ending's hints name the same letters.
const int EXTRA_MONEY_KEY = KEY_M;   // money bonus
const int EXTRA_SUPER_KEY1 = KEY_S;  // super bonus: both letters held together
const int EXTRA_SUPER_KEY2 = KEY_B;
const int EXTRA_REMOVE_KEY = KEY_N;  // no extra
const char *const EXTRA_MONEY_LETTER = "M";
const char *const EXTRA_SUPER_LETTERS = "S+B";
const char *const EXTRA_REMOVE_LETTER = "N";

// ---------------------------------------------------------------------------
// High-score table
// ---------------------------------------------------------------------------

struct scoreentry_t {
    char name[20];  // NUL-terminated
    int score;
    int level;  // 26: the game was finished
};

extern scoreentry_t scoretb[5];  // the five best results, best first
extern FILE *fd;                 // the score file, open only while it is read or written

void ScoreBoard(int what);  // 1: load at start-up; 2: enter the players' scores after a game
void ScoreBoardInit();
void ScoreBoardWrite();
void ScoreBoardShow(int reload);
void ScoreBoardInput(int pos, int num);

// ---------------------------------------------------------------------------
// Intro and ending
// ---------------------------------------------------------------------------

struct actor_t {
    int x, y;
    int frame;  // index into spr
    int zoom;   // how much smaller than full size, 16.16: drawn at scale 65536 - zoom
    BITMAP *spr[10];
};

extern actor_t intro[6];  // cut-scene actors, shared by the intro and the ending

void Intro();
void End();
