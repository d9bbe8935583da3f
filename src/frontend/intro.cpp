// Intro sequence: the invaders' commander walks in, fires on the earth,
// sends his fighters and boasts; then the story is handed to the player.
// The cut-scene drawing below is shared with the ending.

#include "frontend/frontend.h"
#include "core/core.h"
#include "platform/platform.h"

#include <cstdarg>
#include <cstdio>

actor_t intro[6];

// ---------------------------------------------------------------------------
// Cut-scene drawing
// ---------------------------------------------------------------------------

void PlayScene(int frames, void (*update)(int n), void (*draw)(int n)) {
    for (int n = 0; n < frames; n++) {
        Sync();
        if (update) update(n);
        blit(bg, buffer, 0, 0, 0, 0, 320, 256);
        draw(n);
        ToScreen(buffer);
    }
}

// Cut-scene actors face the other way from their images on the sheet.
void DrawMirrored(const actor_t &a, int slot, int dx, int dy) {
    draw_sprite_h_flip(buffer, a.spr[slot], a.x + dx, a.y + dy);
}

// What rotate_scaled_sprite does, at angle 0: the scaled image keeps its
// top-left corner at (x, y). Allegro's inline version shifts x and y left,
// which is undefined for the negative positions the ending's blasts take, so
// the position is multiplied here instead.
void DrawScaled(BITMAP *s, int x, int y, fixed scale) {
    buffer->vtable->pivot_scaled_sprite_flip(buffer, s, x * 65536 + s->w * scale / 2,
                                             y * 65536 + s->h * scale / 2, s->w * 32768, s->h * 32768, 0,
                                             scale, FALSE);
}

// Flying actors shrink as they head for the planet.
void DrawZoomed(const actor_t &a, int slot) {
    DrawScaled(a.spr[slot], a.x, a.y, 65536 - a.zoom);
}

void WalkStep(actor_t &a) {
    a.frame++;
    if (a.frame > 4) a.frame = 0;
}

void TextBox(int x1, int y1, int x2, int y2, const char *line1, const char *line2) {
    rectfill(buffer, x1, y1, x2, y2, text_bg);
    textout_ex(buffer, font, line1, x1 + 2, y1 + 3, 1, text_bg);
    if (line2) textout_ex(buffer, font, line2, x1 + 2, y1 + 11, 1, text_bg);
}

void CaptionScreen(int colour) {
    SysFadeOut(5);
    clear_to_color(bg, colour);
    text_bg = colour;
}

void CaptionLine(int y, int colour, const char *fmt, ...) {
    char line[160];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(line, sizeof line, fmt, ap);
    va_end(ap);
    textout_ex(bg, font, line, 0, y, colour, text_bg);
}

void CaptionHold(int msec) {
    ToScreen(bg);
    SysFadeIn(pal, 2);
    wait(msec);
}

// ---------------------------------------------------------------------------
// The scenes
// ---------------------------------------------------------------------------

static void CommanderSpeaking() {
    DrawMirrored(intro[0], 5);
}

// Scene 1: the commander walks in, half a pixel a frame.
static void WalkInMove(int n) {
    if (n % 2 == 0) intro[0].x++;
    if (n % 5 == 0) WalkStep(intro[0]);
}

static void WalkInDraw(int) {
    DrawMirrored(intro[0], intro[0].frame);
    draw_sprite(buffer, intro[1].spr[0], 70, 221);
}

// Scene 2: the order.
static void OrderDraw(int n) {
    CommanderSpeaking();
    if (n >= 51 && n <= 180) TextBox(18, 147, 198, 160, "Destroy this planet...");
    if (n >= 181) TextBox(148, 147, 192, 160, "Fire!");
}

// Scene 3: the shot flies off towards the planet behind the foreground.
static void ShotMove(int n) {
    if (n % 2 == 0) intro[3].x--;
    if (n % 3 == 0) intro[3].y--;
    intro[3].zoom += 200;
}

static void ShotDraw(int n) {
    CommanderSpeaking();
    if (n <= 319) DrawZoomed(intro[3], 0);
    draw_sprite(buffer, intro[2].spr[0], 250, 70);
    if (n <= 99) TextBox(148, 147, 192, 160, "Fire!");
}

// Scene 4: the impact; its explosion runs through images 2..7.
static void ImpactMove(int n) {
    if (n % 8 == 0) intro[4].frame++;
}

static void ImpactDraw(int n) {
    CommanderSpeaking();
    draw_sprite(buffer, intro[4].spr[0], 139, 53);
    if (intro[4].frame <= 7) draw_sprite(buffer, intro[4].spr[intro[4].frame], 139, 53);
    if (n >= 121) TextBox(18, 147, 222, 168, "And now send the fighters", "for final attack...");
}

// Scene 5: a fighter takes off, speeding up once past the foreground.
static void FighterMove(int n) {
    if (n == 20) SysPlaySample(pl_fx[2], 200, 150, 1000);
    if (intro[3].x > 250) {
        if (n % 2 == 0) intro[3].x--;
    } else {
        intro[3].x--;
    }
    if (n % 3 == 0) intro[3].y--;
    intro[3].zoom += 250;
}

static void FighterDraw(int n) {
    CommanderSpeaking();
    draw_sprite(buffer, intro[4].spr[0], 139, 53);
    DrawZoomed(intro[3], 1);
    draw_sprite(buffer, intro[2].spr[0], 250, 70);
    if (n <= 149) TextBox(18, 147, 222, 168, "And now send the fighters", "for final attack...");
}

// Scene 6: the boast.
static void BoastDraw(int n) {
    DrawMirrored(intro[0], n <= 70 ? 5 : 6);
    draw_sprite(buffer, intro[4].spr[0], 139, 53);
    if (n >= 71) TextBox(18, 147, 286, 160, "Finally I'll conquer this planet!");
}

static void PlayScenes() {
    intro[0].x = -50;
    intro[0].y = 190;
    intro[0].frame = 0;
    PlayScene(400, WalkInMove, WalkInDraw);
    PlayScene(200, NULL, OrderDraw);

    intro[3].x = 324;
    intro[3].y = 178;
    intro[3].zoom = 0;
    SysPlaySample(pl_fx[0], 200, 150, 1000);
    PlayScene(400, ShotMove, ShotDraw);

    intro[4].frame = 1;
    SysPlaySample(pl_fx[1], 200, 150, 1000);
    PlayScene(200, ImpactMove, ImpactDraw);

    intro[3].x = 335;
    intro[3].y = 150;
    intro[3].zoom = 0;
    PlayScene(240, FighterMove, FighterDraw);
    PlayScene(280, NULL, BoastDraw);
}

// ---------------------------------------------------------------------------
// The sequence
// ---------------------------------------------------------------------------

// Shown in the title's palette, before the intro sheet is loaded.
static void OpeningCaption() {
    CaptionScreen(0);
    CaptionLine(40, 6, " Year 2078...");
    CaptionLine(56, 6, " Near the earth, hided by a force");
    CaptionLine(64, 6, " field, a new danger for the whole");
    CaptionLine(72, 6, " umanity begin ...");
    CaptionHold(6000);
}

static void ClosingCaption() {
    CaptionScreen(1);
    CaptionLine(40, 2, " ... but a pilot with his spaceship,");
    CaptionLine(48, 2, " can save the earth and the umanity?");
    CaptionHold(6000);
}

void Intro() {
    OpeningCaption();
    LoadData(-2);
    ToScreen(bg);
    SysPlayMidi(bgsound, true);
    SysFadeIn(pal, 2);
    text_bg = 7;
    PlayScenes();

    ClosingCaption();
    SysStopMidi();
    SysFadeOut(4);

    LoadData(0);
    ToScreen(bg);
    SysFadeIn(pal, 2);
    text_bg = 0;
    Credits();
}
