// Core runtime: game state, start-up and main loop, frame clock, assets,
// presentation and the pixel overlap tests every collision uses.
//
// The whole game lives in globals with static storage: every value is zero
// when the program starts, and every subsystem reads and writes them directly.
#pragma once

#include <allegro.h>

// ---------------------------------------------------------------------------
// Settings chosen on the title screen, read when a play starts
// ---------------------------------------------------------------------------

extern int MODE;      // 1 Normal, 2 Old; menu line 1..4 while the title menu is open
extern int SKILL;     // 1 Easy, 2 Medium, 3 Hard
extern int NPLAYERS;  // players in the play, 1 or 2 (2 also when player 2 joins)
extern int LIVES;     // lives each player starts with (3, 5, or 10 with the super bonus)
extern int MONEY;     // start money of each player
extern int POWER;     // start shot power of each player, 1..3
extern int WEAPON;    // start weapon of each player, 1..3
extern bool CHEAT;    // super-bonus extra selected on the title screen
extern bool CHEAT2;   // money-bonus extra selected on the title screen

// ---------------------------------------------------------------------------
// Values of each player (player 2's end in 2)
// ---------------------------------------------------------------------------

extern int lives, lives2;          // ships left, counting the one in play
extern int score, score2;          // points
extern int money, money2;          // money for the shop (Normal mode only)
extern int power, power2;          // shot power level, 1..3
extern int weapon, weapon2;        // weapon kind, 1..3
extern int speed, speed2;          // ship speed class, 1..3
extern bool gameover1, gameover2;  // this player is out of lives

// ---------------------------------------------------------------------------
// Values of the play
// ---------------------------------------------------------------------------

extern int level;      // current level, shared by both players; 26 runs the ending
extern int hiscore;    // best score shown in the status bar
extern bool gameover;  // the play is over: the frame loop ends
extern bool bosshere;  // a boss fight runs instead of an alien wave
extern int act_boss;   // which boss is (or will be) fought, 1..5
extern int al_hits;    // hit points of every alien of the current stage
extern int bgcol;      // palette index: playfield background and text background
extern int txcol;      // palette index: status bar and "GAME OVER" text
extern int swcol;      // palette index: alien shadow lines
extern int text_bg;    // background colour of screen text, -1 for none (Allegro 4.0's text_mode)

void GameInit();  // resets the values of one play

// ---------------------------------------------------------------------------
// Start-up, main loop and shutdown
// ---------------------------------------------------------------------------

int Init();       // library, display, back buffer, high scores; 1 on failure
void Exit();      // fades out and ends the program
void Frame();     // one frame of play, in the fixed order of its steps
void GameLoop();  // title, play set-up and frames, for ever

// ---------------------------------------------------------------------------
// Frame clock
// ---------------------------------------------------------------------------

// Timestamps (milliseconds of the game clock) and tick flags. A flag is true
// for exactly one frame when its period has run out since its timestamp.
extern int msss, mss, mss2, ms, msf, msff;
extern bool synss;  // 3000 ms: pause between a cleared wave and the next level
extern bool syns;   // 500 ms: slow backdrop animation
extern bool syns2;  // 1100 ms: bonus lifetime
extern bool syn;    // 150 ms: walk and flight animation
extern bool synf;   // 80 ms: explosions, blinking
extern bool synff;  // 5 ms: hit flashes

void Sync();          // waits for the next frame, raises the tick flags, holds the P/R pause
void wait(int msec);  // returns after at least msec milliseconds
int Random(int n);    // 0..n inclusive, the same sequence on every run
void ClockReset();    // tick flags and random sequence as at program start (headless runs)

// ---------------------------------------------------------------------------
// Assets
// ---------------------------------------------------------------------------

extern BITMAP *buffer;    // 640x480 back buffer; only the top-left 320x256 is shown
extern BITMAP *bg;        // sheet of the current screen
extern PALETTE pal;       // palette loaded with the sheet
extern MIDI *bgsound;     // the intro music
extern SAMPLE *pl_fx[5];  // player and interface sounds
extern SAMPLE *al_fx[4];  // enemy sounds
extern BITMAP *shop[4];   // shop cell and weapon icons
extern BITMAP *board1;    // top 320x9 strip of the playfield backdrop

// Loads screen -3 (ending), -2 (intro), -1 (shop), 0 (title), 1..5 (stages)
// or 6 (Old-mode backdrop). A missing or broken file ends the program with
// a message naming it.
void LoadData(int screen);
// Why the BMP file at path cannot be a sheet, or NULL when it can.
const char *BmpDamage(const char *path);

// ---------------------------------------------------------------------------
// Back buffer, background and presentation
// ---------------------------------------------------------------------------

struct anim_t {
    int frame;       // index of the sprite shown
    int nframes;     // length of the cycle
    BITMAP *spr[9];  // the frames
};

extern anim_t anim[2];  // animated backdrop details of stages 1 and 2

void ToScreen(BITMAP *b);  // presents the top-left 320x256 of b
void Paint();              // clears the buffer and copies the stage backdrop into it
void Animation();          // draws the animated backdrop details of stages 1 and 2

// ---------------------------------------------------------------------------
// Pixel overlap tests
// ---------------------------------------------------------------------------

// 1 if a drawn at (ax, ay) and b drawn at (bx, by) share an opaque pixel.
int hitTest(BITMAP *a, BITMAP *b, int ax, int ay, int bx, int by);
// The same, counting only pixels of a whose column and row are multiples of 3.
int hitTestFast(BITMAP *a, BITMAP *b, int ax, int ay, int bx, int by);
