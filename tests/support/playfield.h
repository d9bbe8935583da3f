// Helpers for scenario tests of a running play: starting one the way the
// title screen does, running frames, thinning the wave, placing shots and
// projectiles, and checking sounds and the composed picture.
#pragma once

#include "support/harness.h"
#include "aliens/aliens.h"
#include "flow/flow.h"
#include "players/players.h"

#include <ostream>
#include <string>

struct PlayOptions {
    int mode = 1, skill = 2, players = 1, weapon = 1, power = 1, speed = 1;  // mode 1 Normal, 2 Old
    int lives = 9;  // plenty: no test should run into the game-over screen by accident
};

// A fresh virtual clock with the key script (frame numbers count the frames
// run from here, starting at 1) and a limit of 20000 frames, then the play
// set up as InitPlay does it.
void StartPlay(const PlayOptions &s, const std::string &script = "");

// Runs n whole frames. With march >= 0 the formation's interval is set to it
// before every frame (the game's own rules would set it from the kills).
void Frames(int n, int march = -1);

// A march interval so long that the wave stands still.
const int STILL = 1 << 30;

void ClearWave();             // every alien gone, without explosions
void KeepOnly(int c, int r);  // every alien but [c][r] gone

void Shielded();  // both ships shielded for a good while
void Unshield();  // both ships hittable now

// A flying shot of player `who` in slot i at (x, y), with the player's
// current speed and hits.
void PlaceShot(int who, int i, int x, int y);

// Lowest y at which sprite s, with its left edge at x, touches ship p where
// it stands; -1 if it never does between 100 and 221.
int FirstContact(const player_t &p, BITMAP *s, int x);

// Every opaque pixel of s shows in the last presented picture at (x, y).
bool ShownAt(BITMAP *s, int x, int y);

// How many sounds of sample s were played since the clock was reset, and the
// volume/pan/frequency of the last one.
struct Played {
    int count = 0, vol = -1, pan = -1, freq = -1;
};
Played Sound(SAMPLE *s);
bool operator==(const Played &a, const Played &b);
void PrintTo(const Played &p, std::ostream *os);

// Something drawn after the aliens and their shadows covers (x, y) in the
// last frame: a ship, an alien bomb (also one that has just left the field),
// a shot where it was drawn, the bonus or the mother ship's bomb.
bool DrawnOver(int x, int y);

// The playfield backdrop at (x, y) as Paint() lays it, before any actor.
int Backdrop(int x, int y);

// The opaque pixels of s at (x, y) that nothing drawn later covers all show in
// the last presented picture, and there is at least one.
bool ShownUncovered(BITMAP *s, int x, int y);
