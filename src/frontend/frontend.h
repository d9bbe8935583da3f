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
extern FILE *fd;                 // the score file, open only while it is read

void ScoreBoard(int what);  // 1: load at start-up; 2: enter the players' scores after a game
void ScoreBoardInit();
void ScoreBoardWrite();
void ScoreBoardShow(int reload);
void ScoreBoardInput(int pos, int num);
void ScoreBoardDecode(const unsigned char *data, size_t n);  // fills entries from n bytes of the file
// The name as the table shows it: at most 19 bytes, each outside 32..126 as '?'.
void ShownName(const char *name, char *shown);  // shown: 20 bytes

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

void Intro();  // the story before the game; returns to the title picture
void End();    // the final bonus, the commander's defeat and the hints; ends the play

// Cut-scene drawing shared by the intro and the ending. A scene frame runs the
// frame clock, updates the scene's counters, copies the sheet's picture into
// the buffer, draws the actors and text over it and presents the buffer.
void PlayScene(int frames, void (*update)(int n), void (*draw)(int n));
void DrawMirrored(const actor_t &a, int slot, int dx = 0, int dy = 0);  // spr[slot] facing right
void DrawScaled(BITMAP *s, int x, int y, fixed scale);                  // top-left at (x, y)
void DrawZoomed(const actor_t &a, int slot);                            // at scale 65536 - zoom
void WalkStep(actor_t &a);                                              // next image of the walk cycle 0..4
// A box filled with the text background colour, with one or two lines on it.
void TextBox(int x1, int y1, int x2, int y2, const char *line1, const char *line2 = NULL);

// Caption screens: plain text on the sheet's picture, cleared to one colour.
void CaptionScreen(int colour);                            // fades out, clears, sets the text background
void CaptionLine(int y, int colour, const char *fmt, ...)  // a line from the left edge
    __attribute__((format(printf, 3, 4)));
void CaptionHold(int msec);  // presents, fades in and holds it
