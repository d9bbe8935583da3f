// Cut-scene test helpers: running the intro and the ending on the virtual
// clock up to a chosen scene frame, and expected pictures composed here,
// independently of the game's drawing code, to compare the shown ones with.
#pragma once

#include "support/harness.h"
#include "frontend/frontend.h"

#include <string>

// Runs fn on a fresh clock with the script until the clock reaches frame
// `limit` (-1: no limit). True if fn ran to its end.
bool RunUntil(void (*fn)(), long limit, const std::string &script = "");
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

// Pixels of the last presented picture that differ from the expected one.
int Mismatches();
// Pixels of colour c in the rectangle (x1, y1)-(x2, y2) of the last presented picture.
int CountColour(int c, int x1, int y1, int x2, int y2);
