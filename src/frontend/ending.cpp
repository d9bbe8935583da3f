// Ending sequence: the final bonus, the commander's defeat, the closing
// caption and the hints about the title screen's extras. Drawn the way of
// the intro (intro.cpp).

#include "frontend/frontend.h"
#include "core/core.h"
#include "platform/platform.h"

// ---------------------------------------------------------------------------
// Final bonus
// ---------------------------------------------------------------------------

// Twice the money plus 1000 a life, added to the score; the six lines start
// at row y.
static void BonusBlock(int y, int player, int &sc, int mo, int li) {
    int bonus = 2 * (mo + 500 * li);
    CaptionLine(y, 3, "Final bonus Player %d", player);
    CaptionLine(y + 24, 3, " - Money %d x 2 = %d", mo, 2 * mo);
    CaptionLine(y + 32, 3, " - Lives %d x 1000 = %d", li, 1000 * li);
    CaptionLine(y + 48, 3, " Score: %d", sc);
    CaptionLine(y + 56, 3, " Bonus: %d", bonus);
    sc += bonus;
    CaptionLine(y + 64, 3, " Final score: %d", sc);
}

// Only a player with a spare ship left gets a bonus. Drawn in the last
// stage's palette.
static void FinalBonus() {
    CaptionScreen(1);
    if (lives > 1) BonusBlock(40, 1, score, money, lives);
    if (NPLAYERS == 2 && lives2 > 1) BonusBlock(128, 2, score2, money2, lives2);
    CaptionHold(12000);
}

// ---------------------------------------------------------------------------
// The scenes
// ---------------------------------------------------------------------------

static void Fixture() {
    draw_sprite(buffer, intro[1].spr[0], 70, 221);
}

// The commander lies fallen for the rest of the ending.
static void CommanderFallen() {
    DrawMirrored(intro[0], 9, 4, 34);
}

// Scene 1: the commander walks in, a third of a pixel a frame.
static void WalkInMove(int n) {
    if (n % 3 == 0) intro[0].x++;
    if (n % 7 == 0) WalkStep(intro[0]);
}

static void WalkInDraw(int) {
    DrawMirrored(intro[0], intro[0].frame);
    Fixture();
}

// Scene 2: the cry.
static void CryDraw(int) {
    DrawMirrored(intro[0], 7);
    Fixture();
    TextBox(48, 147, 164, 160, "Aaaaaaaargh!!!");
}

// Scene 3: the fall.
static void FallDraw(int) {
    DrawMirrored(intro[0], 8, 4, 34);
    Fixture();
}

// Scene 4: a small figure comes out.
static void FigureDraw(int) {
    CommanderFallen();
    DrawMirrored(intro[5], 0);
    Fixture();
}

// Scene 5: the small figure runs off below the bottom edge, faster downward
// in its second half.
static void FigureLeavesMove(int n) {
    if (n % 3 == 0) intro[5].x++;
    if (n % (n < 250 ? 16 : 8) == 0) intro[5].y++;
    if (n % 8 == 0) intro[5].frame = !intro[5].frame;
}

static void FigureLeavesDraw(int) {
    CommanderFallen();
    DrawMirrored(intro[5], intro[5].frame);
    Fixture();
}

// Scene 6: explosions of random place and size.
static int blast_size;

static void BlastMove(int m) {
    if (m % 8 == 0) intro[4].frame++;
}

static void BlastDraw(int) {
    CommanderFallen();
    Fixture();
    if (intro[4].frame <= 7)
        DrawScaled(intro[4].spr[intro[4].frame], intro[4].x, intro[4].y, itofix(blast_size));
}

static void Explosions() {
    for (int i = 0; i < 20; i++) {
        intro[4].x = Random(260) - 30;
        intro[4].y = Random(160) - 20;
        intro[4].frame = 1;
        blast_size = Random(2) + 1;
        SysPlaySample(pl_fx[1], 120, 150, 1000);
        PlayScene(45, BlastMove, BlastDraw);
    }
}

static void PlayScenes() {
    intro[0].x = -50;
    intro[0].y = 190;
    intro[0].frame = 0;
    PlayScene(560, WalkInMove, WalkInDraw);
    PlayScene(200, NULL, CryDraw);
    PlayScene(200, NULL, FallDraw);

    intro[5].x = 170;
    intro[5].y = 222;
    PlayScene(100, NULL, FigureDraw);
    intro[5].frame = 0;
    PlayScene(430, FigureLeavesMove, FigureLeavesDraw);
    Explosions();
}

// ---------------------------------------------------------------------------
// Closing caption and hints
// ---------------------------------------------------------------------------

static void ClosingCaption() {
    CaptionScreen(1);
    CaptionLine(40, 2, " Congratulation! You have saved the");
    CaptionLine(48, 2, " world, but ... is this the end ... ?");
    CaptionHold(6000);
}

// The harder the game just won, the more the hints give away.
static void Hints() {
    CaptionScreen(1);
    if (SKILL == 1) {
        CaptionLine(40, 2, " ... press %s in the title screen when", EXTRA_MONEY_LETTER);
        CaptionLine(48, 2, " cursor its over S..R. ..M. ??? ;-)");
    } else if (SKILL == 2) {
        CaptionLine(40, 2, " ... press %s in the title screen when", EXTRA_SUPER_LETTERS);
        CaptionLine(48, 2, " cursor its over .TA.T .... ??? ;-))))");
    } else if (SKILL == 3) {
        CaptionLine(40, 2, "Press %s in the title screen when cursor", EXTRA_MONEY_LETTER);
        CaptionLine(48, 2, "its over START GAME (money bonus)");
        CaptionLine(64, 2, "Press %s in the title screen when", EXTRA_SUPER_LETTERS);
        CaptionLine(72, 2, "cursor its over START GAME (super bonus)");
        CaptionLine(88, 2, "Press %s in the title screen when cursor", EXTRA_REMOVE_LETTER);
        CaptionLine(96, 2, "its over START GAME to remove cheats");
    }
    CaptionHold(4000);
}

void End() {
    FinalBonus();
    LoadData(-3);
    ToScreen(bg);
    SysFadeIn(pal, 2);
    text_bg = 8;
    PlayScenes();
    ClosingCaption();
    Hints();
    gameover = true;
}
