// Cut-scene test helpers: runs of the intro and the ending stopped at a
// chosen scene frame, fade lengths, and expected pictures composed here,
// independently of the game's drawing code, to compare the shown ones with.
#pragma once

#include "support/harness.h"
#include "support/shown_text.h"
#include "frontend/frontend.h"

#include <string>
#include <vector>

// The clock frame in which fn, started after setup(), shows its first scene
// frame: every scene frame presents one picture, after three others.
long FirstSceneFrame(void (*setup)(), void (*fn)());
// Runs fn after setup() and stops it right after scene frame g (counted over
// all its scenes); false if it did not stop there.
bool SceneAt(void (*setup)(), void (*fn)(), long g);
// Frames a fade to or from black takes at the given speed.
long FadeFrames(int speed);

// Starts the expected picture (320x256 of a 640x480 bitmap) from the sheet's
// picture, or cleared to `colour` without one.
void RefFrom(BITMAP *sheet, int colour = 0);
// Draws cut-scene images on the expected picture, as a list of
//   m A S X Y     intro[A].spr[S] mirrored, top-left at (X, Y)
//   s A S X Y     the same not mirrored
//   z A S X Y F   the same at scale F (16.16)
// then, after a '|', a text box "X1 X2 Y2 line[\nline]" from row 147 in colour `box`.
void RefDraw(const std::string &layers, int box = 0);
// Lines of text separated by '\n', from row y down, 8 pixels apart.
void RefLines(int y, int colour, int background, const std::string &text);

// A scene frame and what shows over the sheet's picture then (RefDraw).
struct SceneRow {
    int scene, n;  // frame n of scene `scene`
    std::string layers;
};
// Runs fn after setup() to each row's frame and compares the shown picture;
// first: each scene's first frame counted over all scenes.
void ExpectScenes(void (*setup)(), void (*fn)(), const int *first, const std::vector<SceneRow> &rows,
                  int box);

// Sound i of the run is sample s at volume vol, a little to the right (pan
// 150), at frequency 1000, played in clock frame `frame`.
bool SoundIs(int i, SAMPLE *s, int vol, long frame);

// Pixels of the last presented picture that differ from the expected one.
int Mismatches();
