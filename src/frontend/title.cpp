// Title screen: the menu with its options, the hidden extras, and the start
// settings of a play.

#include "frontend/frontend.h"
#include "aliens/aliens.h"
#include "core/core.h"
#include "platform/platform.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

const int ROW_SKILL = 0, ROW_LIVES = 1, ROW_MODE = 2, ROW_INTRO = 3, ROW_START = 4, ROW_SCORES = 5,
          ROW_QUIT = 6;

int cursor;          // menu row 0..6
char left_mark[3];   // per option row: ' ' or '<', the value can still go down
char right_mark[3];  // ' ' or '>', the value can still go up

void Text(int x, int y, int col, const char *fmt, ...) __attribute__((format(printf, 4, 5)));
void Text(int x, int y, int col, const char *fmt, ...) {
    char line[64];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(line, sizeof line, fmt, ap);
    va_end(ap);
    textprintf_ex(bg, font, x, y, col, text_bg, "%s", line);
}

void DrawOptions() {
    static const char *const skill[] = {"%c   Easy   %c", "%c  Medium  %c", "%c   Hard   %c"};
    static const char *const mode[] = {"%cNormal 1P %c", "%c  Old 1P  %c", "%cNormal 2P %c",
                                       "%c  Old 2P  %c"};
    textprintf_ex(bg, font, 222, 11, 10, text_bg, skill[SKILL - 1], left_mark[0], right_mark[0]);
    Text(222, 27, 10, "%c %d lives  %c", left_mark[1], LIVES, right_mark[1]);
    textprintf_ex(bg, font, 222, 43, 10, text_bg, mode[MODE - 1], left_mark[2], right_mark[2]);
}

void DrawMenu() {
    Text(0, 0, 8, "1.01");
    rectfill(bg, 220, 5, 317, 119, 0);
    DrawOptions();
    Text(230, 59, 10, "PLAY INTRO");
    Text(230, 75, 10, "START GAME");
    Text(230, 91, 10, "SCOREBOARD");
    Text(234, 107, 10, "QUIT GAME");
    rect(bg, 220, 5, 317, 119, 5);
    rect(bg, 221, 6 + 16 * cursor, 316, 22 + 16 * cursor, 4);
}

// The cursor sound plays for every Up or Down, also at the ends of the menu.
void MoveCursor() {
    if (key[KEY_UP]) {
        cursor -= 1;
        SysPlaySample(pl_fx[2], 120, 150, 1000);
    }
    if (key[KEY_DOWN]) {
        cursor += 1;
        SysPlaySample(pl_fx[2], 120, 150, 1000);
    }
    if (cursor < 0) cursor = 0;
    if (cursor > 6) cursor = 6;
}

// Markers show in which directions an option can still be changed.
void OptionDown() {
    if (cursor == ROW_SKILL) {
        if (SKILL > 1) SKILL -= 1;
        left_mark[0] = SKILL == 2 ? '<' : ' ';
        right_mark[0] = '>';
    } else if (cursor == ROW_LIVES) {
        LIVES = 3;
        left_mark[1] = ' ';
        right_mark[1] = '>';
    } else if (cursor == ROW_MODE) {
        if (MODE > 1) MODE -= 1;
        left_mark[2] = MODE == 2 || MODE == 3 ? '<' : ' ';
        right_mark[2] = '>';
    }
}

void OptionUp() {
    if (cursor == ROW_SKILL) {
        if (SKILL < 3) SKILL += 1;
        left_mark[0] = '<';
        right_mark[0] = SKILL == 2 ? '>' : ' ';
    } else if (cursor == ROW_LIVES) {
        LIVES = 5;
        left_mark[1] = '<';
        right_mark[1] = ' ';
    } else if (cursor == ROW_MODE) {
        if (MODE < 4) MODE += 1;
        left_mark[2] = '<';
        right_mark[2] = MODE == 2 || MODE == 3 ? '>' : ' ';
    }
}

// The hidden extras, only on "START GAME". The face is drawn after the
// picture was presented, so it shows with the next pass.
void Extras() {
    if (key[EXTRA_SUPER_KEY1] && key[EXTRA_SUPER_KEY2]) {
        Text(0, 8, 10, ":-O");
        CHEAT = true;
        CHEAT2 = false;
    }
    if (key[EXTRA_MONEY_KEY]) {
        Text(0, 8, 10, ":-)");
        CHEAT2 = true;
        CHEAT = false;
    }
    if (key[EXTRA_REMOVE_KEY]) {
        Text(0, 8, 10, ":-(");
        CHEAT = false;
        CHEAT2 = false;
    }
}

// One menu pass after a key press: every action tests the keys held now.
void MenuKeys() {
    MoveCursor();
    if (key[KEY_LEFT]) OptionDown();
    if (key[KEY_RIGHT]) OptionUp();
    if (key[KEY_SPACE] && cursor == ROW_INTRO) Intro();
    if (cursor == ROW_START) Extras();
    if (key[KEY_SPACE] && cursor == ROW_SCORES) ScoreBoardShow(0);
    if (key[KEY_SPACE] && cursor == ROW_QUIT) Exit();
}

// The settings the play starts with; later steps override earlier ones.
void StartSettings() {
    NPLAYERS = MODE >= 3 ? 2 : 1;
    if (MODE == 3) MODE = 1;
    if (MODE == 4) MODE = 2;
    if (CHEAT) {
        MONEY = 50000;
        WEAPON = 3;
        POWER = 3;
        LIVES = 10;
        speed = speed2 = 2;
    } else if (CHEAT2) {
        MONEY = 12000;
        speed = speed2 = 1;
    } else {
        MONEY = SKILL == 1 ? 1500 : SKILL == 2 ? 1000 : 500;
        WEAPON = 1;
        POWER = 1;
        speed = speed2 = 1;
    }
    if (MODE == 2) {
        WEAPON = 1;
        POWER = 1;
        speed = speed2 = 2;
    }
    bo_m = SKILL == 1 ? 2 : 1;
}

}  // namespace

void Title() {
    SKILL = 1;
    LIVES = 3;
    MODE = 1;
    MONEY = 0;
    POWER = 1;
    WEAPON = 1;
    for (int r = 0; r < 3; r++) {
        left_mark[r] = ' ';
        right_mark[r] = '>';
    }
    cursor = 0;

    LoadData(0);
    ToScreen(bg);
    SysFadeIn(pal, 2);
    text_bg = 0;  // every text of the title is drawn on colour 0
    Credits();

    while (!(key[KEY_SPACE] && cursor == ROW_START)) {
        DrawMenu();
        ToScreen(bg);
        SysClearKeybuf();
        SysReadKey();
        MenuKeys();
    }
    StartSettings();
    SysFadeOut(4);
}

void Credits() {
    static const struct {
        int y, col;
        const char *text;
    } lines[] = {
        {222, 10, "Earthguard 1.01"},
        {231, 8, "made by the Earthguard team"},
        {240, 8, "thanks to the Allegro authors"},
    };
    rectfill(bg, 1, 220, 317, 248, 0);
    rect(bg, 1, 220, 317, 248, 5);
    for (const auto &l : lines) {
        int x = 1 + (317 - 8 * (int)strlen(l.text)) / 2;  // centred in the box
        Text(x, l.y, l.col, "%s", l.text);
    }
    ToScreen(bg);
}
