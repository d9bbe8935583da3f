// Back buffer, background and presentation. Every frame is composed in the
// top-left 320x256 of `buffer` and stretched to the 640x480 display.

#include "core/core.h"
#include "platform/platform.h"

anim_t anim[2];

void ToScreen(BITMAP *b) {
    SysPresent(b);
}

// The backdrop is the sheet's columns 320..639; its colour-0 pixels show the
// stage's background colour. Only the top-left 320x256 of the buffer is ever
// shown, so only that is cleared and covered: a third of the work of the
// whole buffer, for the same picture.
void Paint() {
    rectfill(buffer, 0, 0, 319, 255, bgcol);
    masked_blit(bg, buffer, 320, 0, 0, 0, 320, 256);
}

static void Step(anim_t &a) {
    a.frame = (a.frame + 1) % a.nframes;
}

// Animated details of the stage 1 and 2 backdrops. Each is drawn before it
// advances, so a new image shows from the next frame on.
void Animation() {
    if (level >= 1 && level <= 5) {
        draw_sprite(buffer, anim[0].spr[anim[0].frame], 148, 166);
        if (syn) Step(anim[0]);
    } else if (level >= 6 && level <= 10) {
        draw_sprite(buffer, anim[0].spr[anim[0].frame], 119, 109);
        draw_sprite(buffer, anim[1].spr[anim[1].frame], 211, 55);
        if (syns) Step(anim[0]);
        if (synf) Step(anim[1]);
    }
}
