// Cut-scene test helpers: runs of the intro and the ending stopped at a
// chosen scene frame, fade lengths, and expected pictures composed here,
// independently of the game's drawing code, to compare the shown ones with.
#pragma once

#include "support/harness.h"
#include "support/shown_text.h"
#include "frontend/frontend.h"

#include <string>

// The clock frame in which fn, started after setup(), shows its first scene
// frame: every scene frame presents one picture, after three others.
long FirstSceneFrame(void (*setup)(), void (*fn)());
// Runs fn after setup() and stops it right after scene frame g (counted over
// all its scenes); false if it did not stop there.
bool SceneAt(void (*setup)(), void (*fn)(), long g);
// Frames a fade to or from black takes at the given speed.
long FadeFrames(int speed);

// The expected picture, 320x256 of a 640x480 bitmap.
void RefFrom(BITMAP *sheet);  // starts from the sheet's picture
void RefClear(int colour);
void RefSprite(BITMAP *s, int x, int y);    // opaque pixels as they are
void RefMirrored(BITMAP *s, int x, int y);  // opaque pixels, left and right swapped
void RefScaled(BITMAP *s, int x, int y, fixed scale);
void RefFill(int x1, int y1, int x2, int y2, int colour);
void RefText(int x, int y, int colour, int background, const char *text);
// Lines of text separated by '\n', from row y down, 8 pixels apart.
void RefLines(int y, int colour, int background, const std::string &text);

// Pixels of the last presented picture that differ from the expected one.
int Mismatches();
