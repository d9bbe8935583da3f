// Helpers for the scenario tests of the play's flow and the front end: text
// as it shows in the presented picture, key scripts for menus, and scratch
// directories for the score file.
#pragma once

#include <string>
#include <vector>

// True when the last presented picture shows `text` at (x, y) exactly as the
// built-in font draws it in colour fg on the opaque background bgc. With
// `width` only that many pixel columns from x are compared.
bool ShowsText(int x, int y, int fg, int bgc, const std::string &text, int width = -1);

// True when the w x h area at (x, y) of the last presented picture holds no
// pixel of colour c.
bool NoColourIn(int x, int y, int w, int h, int c);

// A key script pressing each key of `keys` in turn, `step` frames apart from
// frame `from`. "S+B" holds S and presses B together.
std::string Presses(const std::vector<std::string> &keys, long from = 100, long step = 4);

// A fresh directory that sees the game's data, made the working directory
// for the lifetime of the object.
struct ScratchSubdir {
    explicit ScratchSubdir(const std::string &name);
    ~ScratchSubdir();
    std::string path;
    std::string File(const std::string &name) const { return path + "/" + name; }
};
