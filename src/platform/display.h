// The live display: full screen at the desktop's own resolution or a window,
// the 320x256 picture scaled by whole multiples of 640x480 and centred, the
// F11 / Alt+Enter switch between the two, and the player's settings file
// that remembers the choice. Headless runs never come here.
#pragma once

#include <allegro.h>
#include <cstdint>
#include <string>

// How the player wants the picture shown.
struct DisplayChoice {
    bool fullscreen = true;
    int scale = 0;         // the window's size in multiples of 640x480; 0 = the largest that fits
    bool stretch = false;  // full screen: fill the screen's height, not a whole multiple
};

// Where and how large the picture lands on the screen.
struct DisplayLayout {
    int screen_w, screen_h;  // the mode set: the desktop (full screen) or the window
    int x, y, w, h;          // the picture's place on it
};

// The command line's choice; full screen or window is sys_gfx_card's.
extern int display_scale;     // --scale N: the window in multiples of 640x480; 0 = not given
extern bool display_stretch;  // --stretch: full screen fills the screen's height

// Gives the window its class and the icon in icon_path (none if the file is
// missing or not a 64x64 8-bit BMP). Called before the library starts.
void DisplayNameWindow(const char *icon_path);
// Opens the display as the settings file, overruled by the command line, say.
// Returns NULL on success, else why no mode could be set.
const char *DisplayOpen();
void DisplayShow(BITMAP *b);           // presents the top-left 320x256 of b
void DisplaySetPalette(const RGB *p);  // new colours, shown at once on the last picture
void DisplayKeys();                    // switches full screen / window if F11 or Alt+Enter was pressed

// Picture geometry: the largest whole multiple of 640x480 inside w x h.
int DisplayFitScale(int w, int h);
DisplayLayout DisplayLayoutFor(const DisplayChoice &c, int desktop_w, int desktop_h);

// The scaler: the 320x256 8-bit picture src into dst (dst->w x dst->h, 16 or
// 32 bits a pixel) through lut, colour index to pixel value. Each pixel of a
// 640x480 picture shows the source pixel under its centre (the upper one on
// a border); larger pictures repeat those rows and columns. Only the rows
// showing source rows top to bottom - 1 are made; they are rows *y0 to
// *y1 - 1 of dst.
void DisplayScale(BITMAP *src, const uint32_t *lut, BITMAP *dst, int top, int bottom, int *y0, int *y1);

// The player's settings file: $XDG_CONFIG_HOME/earthguard/earthguard.cfg.
std::string SettingsPath();
// Reads the choice saved there into c; a missing file leaves c alone, a
// broken one too, with one line on standard error.
void SettingsLoad(DisplayChoice *c);
bool SettingsSave(const DisplayChoice &c);  // false if it cannot be written
