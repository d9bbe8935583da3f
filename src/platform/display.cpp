// The live display. The screen runs at the desktop's colour depth; each
// frame the rows of the 8-bit picture that changed are scaled through a
// palette lookup into a memory bitmap of the screen's depth and reach the X
// server as one image (nothing at all when nothing changed). A palette
// change (a fade step) re-shows the last picture in the new colours, as an
// 8-bit display would.

#include "platform/display.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstring>
#include <vector>

int display_scale;
bool display_stretch;

namespace {

// Room left around a window for its frame and the desktop's panels.
const int WINDOW_ROOM_W = 32, WINDOW_ROOM_H = 96;

DisplayChoice current;         // the choice on screen now
DisplayLayout layout;          // where the picture lands on the screen
int depth = 32;                // the screen's colour depth
BITMAP *frame;                 // the scaled picture at the screen's depth
BITMAP *last;                  // the last presented 320x256 picture
uint32_t lut[256];             // colour index to screen pixel value
PALETTE colours;               // the palette on display
volatile bool switch_wanted;   // F11 or Alt+Enter was pressed
int (*chained_keys)(int key);  // a keyboard callback set before ours

// Screen depths the scaler writes; others get a 32-bit screen that the
// library converts.
int ScreenDepth() {
    int d = desktop_color_depth();
    return d == 8 || d == 15 || d == 16 ? d : 32;
}

void Warn(const char *what, const char *why) {
    fprintf(stderr, "earthguard: %s (%s)\n", what, why);
}

// Shows the source rows top to bottom - 1 of the last picture: only the
// band of screen rows they cover is scaled and sent.
void ShowRows(int top, int bottom) {
    if (!last || !frame || !screen) return;
    int y0, y1;
    DisplayScale(last, lut, frame, top, bottom, &y0, &y1);
    if (y1 > y0) blit(frame, screen, 0, y0, layout.x, layout.y + y0, layout.w, y1 - y0);
}

void Redraw() {
    ShowRows(0, 256);
}

// Sets the mode for c; on failure the library has no screen and why says so.
bool SetMode(const DisplayChoice &c, std::string *why) {
    int dw, dh;
    if (get_desktop_resolution(&dw, &dh) != 0) dw = 640, dh = 480;
    DisplayLayout l = DisplayLayoutFor(c, dw, dh);
    set_color_depth(depth);
    int card = c.fullscreen ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED;
    bool ok = set_gfx_mode(card, l.screen_w, l.screen_h, 0, 0) == 0;
    set_color_depth(8);  // the game's own bitmaps stay 8-bit
    if (!ok) {
        *why = allegro_error;
        return false;
    }
    layout = l;
    current = c;
    if (frame) destroy_bitmap(frame);
    frame = create_bitmap_ex(depth, l.w, l.h);
    if (!frame) {
        *why = "out of memory for the picture";
        return false;
    }
    clear_to_color(screen, makecol_depth(depth, 0, 0, 0));
    return true;
}

// Full screen where it can be had, else the window, saying so.
bool OpenFirst(DisplayChoice c, std::string *why) {
    if (SetMode(c, why)) return true;
    if (!c.fullscreen) return false;
    Warn("full screen is not available here, playing in a window", why->c_str());
    c.fullscreen = false;
    return SetMode(c, why);
}

int WatchKeys(int k) {
    int code = k >> 8;
    bool alt_enter = (code == KEY_ENTER || code == KEY_ENTER_PAD) && (key_shifts & KB_ALT_FLAG);
    if (code == KEY_F11 || alt_enter) {
        switch_wanted = true;
        return 0;  // not a key press for the game
    }
    return chained_keys ? chained_keys(k) : k;
}

template <typename Pixel>
void ScaleRows(BITMAP *src, const uint32_t *lut, BITMAP *dst, int top, int bottom, int *y0, int *y1) {
    int w = dst->w, h = dst->h;
    *y0 = h, *y1 = 0;
    int rep = w % 320 == 0 ? w / 320 : 0;  // whole multiples: each pixel repeated rep times
    std::vector<int> col(rep ? 0 : w);
    for (int x = 0; x < (int)col.size(); x++) col[x] = ((2 * x + 1) * 320 - 1) / (2 * w);
    int made = -1;  // source row of the row above
    for (int y = 0; y < h; y++) {
        int row480 = ((2 * y + 1) * 480 - 1) / (2 * h);
        int sy = ((2 * row480 + 1) * 256 - 1) / 960;
        if (sy < top || sy >= bottom) continue;
        if (y < *y0) *y0 = y;
        *y1 = y + 1;
        Pixel *d = (Pixel *)dst->line[y];
        if (sy == made) {
            memcpy(d, dst->line[y - 1], w * sizeof(Pixel));
            continue;
        }
        const unsigned char *s = src->line[sy];
        if (rep) {
            for (int x = 0; x < 320; x++) {
                Pixel v = (Pixel)lut[s[x]];
                for (int i = 0; i < rep; i++) *d++ = v;
            }
        } else {
            for (int x = 0; x < w; x++) d[x] = (Pixel)lut[s[col[x]]];
        }
        made = sy;
    }
}

}  // namespace

int DisplayFitScale(int w, int h) {
    int k = w / 640 < h / 480 ? w / 640 : h / 480;
    return k < 1 ? 1 : k;
}

DisplayLayout DisplayLayoutFor(const DisplayChoice &c, int dw, int dh) {
    if (!c.fullscreen) {
        int k = c.scale > 0 ? c.scale : DisplayFitScale(dw - WINDOW_ROOM_W, dh - WINDOW_ROOM_H);
        return {640 * k, 480 * k, 0, 0, 640 * k, 480 * k};
    }
    int w, h;
    if (c.stretch || dw < 640 || dh < 480) {
        // The largest picture of the 4:3 shape that fits, whole factor or not.
        h = dh, w = dh * 4 / 3;
        if (w > dw) w = dw, h = dw * 3 / 4;
    } else {
        int k = DisplayFitScale(dw, dh);
        w = 640 * k, h = 480 * k;
    }
    return {dw, dh, (dw - w) / 2, (dh - h) / 2, w, h};
}

void DisplayScale(BITMAP *src, const uint32_t *lut, BITMAP *dst, int top, int bottom, int *y0, int *y1) {
    switch (bitmap_color_depth(dst)) {
    case 8:
        ScaleRows<uint8_t>(src, lut, dst, top, bottom, y0, y1);
        break;
    case 15:
    case 16:
        ScaleRows<uint16_t>(src, lut, dst, top, bottom, y0, y1);
        break;
    default:
        ScaleRows<uint32_t>(src, lut, dst, top, bottom, y0, y1);
        break;
    }
}

const char *DisplayOpen() {
    static std::string why;
    DisplayChoice c;
    SettingsLoad(&c);
    if (sys_gfx_card != GFX_AUTODETECT) c.fullscreen = sys_gfx_card != GFX_AUTODETECT_WINDOWED;
    if (display_scale) c.scale = display_scale;
    if (display_stretch) c.stretch = true;
    depth = ScreenDepth();
    if (!OpenFirst(c, &why)) return why.c_str();
    if (!last) last = create_bitmap_ex(8, 320, 256);
    if (!last) return "out of memory for the picture";
    clear_bitmap(last);
    if (!chained_keys && keyboard_callback != WatchKeys) chained_keys = keyboard_callback;
    keyboard_callback = WatchKeys;
    return NULL;
}

// In play a frame changes a band of rows or, as often, nothing at all: only
// the rows that changed are sent.
void DisplayShow(BITMAP *b) {
    int top = 256, bottom = 0;
    for (int y = 0; y < 256; y++) {
        if (memcmp(b->line[y], last->line[y], 320) == 0) continue;
        memcpy(last->line[y], b->line[y], 320);
        if (y < top) top = y;
        bottom = y + 1;
    }
    ShowRows(top, bottom);
}

void DisplaySetPalette(const RGB *p) {
    memcpy(colours, p, sizeof colours);
    set_palette(colours);  // also the colours that makecol() matches on 8-bit bitmaps
    uint32_t next[256];
    for (int i = 0; i < 256; i++) {
        // 6-bit channels widened to 8 the way screenshots widen them
        int r = p[i].r << 2 | p[i].r >> 4, g = p[i].g << 2 | p[i].g >> 4, b = p[i].b << 2 | p[i].b >> 4;
        next[i] = depth == 8 ? (uint32_t)i : (uint32_t)makecol_depth(depth, r, g, b);
    }
    if (memcmp(next, lut, sizeof lut) == 0) return;
    memcpy(lut, next, sizeof lut);
    if (depth != 8) Redraw();
}

void DisplayKeys() {
    if (!switch_wanted) return;
    switch_wanted = false;
    DisplayChoice next = current;
    next.fullscreen = !current.fullscreen;
    DisplayChoice before = current;
    std::string why;
    if (!SetMode(next, &why)) {
        Warn(next.fullscreen ? "cannot switch to full screen" : "cannot switch to a window", why.c_str());
        if (!SetMode(before, &why)) SysFatal("cannot restore the display (%s)", why.c_str());
    } else {
        SettingsSave(current);
    }
    set_palette(colours);
    Redraw();
}
