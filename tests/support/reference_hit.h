// The overlap test written the straightforward way, as four nested loops over
// both sprites: the yardstick for the game's fast versions.
#pragma once

#include <allegro.h>

inline int ReferenceHit(BITMAP *a, BITMAP *b, int ax, int ay, int bx, int by, int step) {
    if (ax >= bx + b->w || ay >= by + b->h || bx >= ax + a->w || by >= ay + a->h) return 0;
    for (int j = 0; j < a->h; j += step)
        for (int i = 0; i < a->w; i += step)
            for (int l = 0; l < b->h; l++)
                for (int k = 0; k < b->w; k++)
                    if (a->line[j][i] != 0 && b->line[l][k] != 0 && ax + i == bx + k && ay + j == by + l)
                        return 1;
    return 0;
}
