// Pixel overlap tests. Two sprites collide when an opaque (non-zero) pixel of
// each lands on the same spot. Only the intersection of the two boxes can
// hold such a spot, so only it is visited, row by row through the bitmaps'
// line pointers.

#include "core/core.h"

#include <algorithm>

// Visits the intersection of a at (ax, ay) and b at (bx, by); with step 3,
// only the pixels of a whose column and row within a are multiples of 3.
static int Overlap(BITMAP *a, BITMAP *b, int ax, int ay, int bx, int by, int step) {
    if (ax >= bx + b->w || ay >= by + b->h || bx >= ax + a->w || by >= ay + a->h) return 0;

    // The intersection in a's coordinates, its start rounded up to the sampling grid.
    int i0 = std::max(0, bx - ax), i1 = std::min(a->w, bx + b->w - ax);
    int j0 = std::max(0, by - ay), j1 = std::min(a->h, by + b->h - ay);
    i0 = (i0 + step - 1) / step * step;
    j0 = (j0 + step - 1) / step * step;

    int dx = ax - bx, dy = ay - by;  // a's pixel (i, j) lies on b's pixel (i + dx, j + dy)
    for (int j = j0; j < j1; j += step) {
        const unsigned char *ra = a->line[j];
        const unsigned char *rb = b->line[j + dy];
        for (int i = i0; i < i1; i += step)
            if (ra[i] && rb[i + dx]) return 1;
    }
    return 0;
}

int hitTest(BITMAP *a, BITMAP *b, int ax, int ay, int bx, int by) {
    return Overlap(a, b, ax, ay, bx, by, 1);
}

int hitTestFast(BITMAP *a, BITMAP *b, int ax, int ay, int bx, int by) {
    return Overlap(a, b, ax, ay, bx, by, 3);
}
