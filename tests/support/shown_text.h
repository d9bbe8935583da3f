// Helpers for the scenario tests of the play's flow, the front end and the
// program: text and colours as they show in the presented picture, key
// scripts and runs to their end, files, and scratch directories for the
// score file.
#pragma once

#include <map>
#include <string>
#include <vector>

// True when the last presented picture shows `text` at (x, y) exactly as the
// built-in font draws it in colour fg on the opaque background bgc. With
// `width` only that many pixel columns from x are compared.
bool ShowsText(int x, int y, int fg, int bgc, const std::string &text, int width = -1);

// Pixels of colour c in the rectangle (x1, y1)-(x2, y2) of the last presented picture.
int CountColour(int c, int x1, int y1, int x2, int y2);

// Key names separated by spaces, one by one.
std::vector<std::string> KeyNames(const std::string &names);

// A key script pressing each key of `keys` in turn, `step` frames apart from
// frame `from`. "S+B" holds S and presses B together.
std::string Presses(const std::vector<std::string> &keys, long from = 100, long step = 4);

// Runs fn on a fresh clock with the script until the clock reaches frame
// `limit` (-1: no limit). True if fn ran to its end.
bool RunUntil(void (*fn)(), long limit, const std::string &script = "");

std::string Slurp(const std::string &path);
void WriteFile(const std::string &path, const std::string &text);

// The values of the final line of a headless run's output, by name.
std::map<std::string, int> FinalValues(const std::string &out);

// A fresh directory that sees the game's data, made the working directory
// for the lifetime of the object.
struct ScratchSubdir {
    explicit ScratchSubdir(const std::string &name);
    ~ScratchSubdir();
    std::string path;
    std::string File(const std::string &name) const { return path + "/" + name; }
};
