// The window's name for task bars (WM_CLASS earthguard / Earthguard) and
// its icon, read from our own 64x64 8-bit BMP, palette index 0 transparent.
// The library sets both on its window when it creates it and again on every
// mode switch, so they are handed over before it starts.

#include "platform/display.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>
#include <xalleg.h>

extern "C" void *allegro_icon;  // the library's window icon, XPM data; exported but not declared

namespace {

const int ICON = 64;
std::vector<std::string> xpm_text;
std::vector<const char *> xpm;

unsigned Le(const std::vector<unsigned char> &f, size_t at, int bytes) {
    unsigned v = 0;
    for (int i = bytes - 1; i >= 0; i--) v = v << 8 | f[at + i];
    return v;
}

// Pixels (top row first) and palette (B, G, R, 0 entries) of an
// uncompressed 64x64 8-bit BMP; false for anything else.
bool ReadIcon(const char *path, std::vector<unsigned char> *pixels, std::vector<unsigned char> *pal) {
    FILE *f = fopen(path, "rb");
    if (!f) return false;
    std::vector<unsigned char> file(65536);
    file.resize(fread(file.data(), 1, file.size(), f));
    fclose(f);
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return false;
    uint64_t offset = Le(file, 10, 4), info = Le(file, 14, 4), colours = Le(file, 46, 4);
    int w = (int)Le(file, 18, 4), h = (int)Le(file, 22, 4);
    if (colours == 0) colours = 256;
    if (info < 40 || w != ICON || (h != ICON && h != -ICON) || Le(file, 28, 2) != 8 || Le(file, 30, 4) != 0 ||
        colours > 256 || 14 + info + 4 * colours > offset || offset + ICON * ICON > file.size())
        return false;
    pal->assign(4 * 256, 0);
    std::copy(file.begin() + 14 + info, file.begin() + 14 + info + 4 * colours, pal->begin());
    pixels->resize(ICON * ICON);
    for (int y = 0; y < ICON; y++) {
        int from = h > 0 ? ICON - 1 - y : y;  // bottom-up unless the height is negative
        std::copy_n(file.begin() + offset + from * ICON, ICON, pixels->begin() + y * ICON);
    }
    return true;
}

// XPM with two hex digits a pixel; index 0 is transparent.
void MakeXpm(const std::vector<unsigned char> &pixels, const std::vector<unsigned char> &pal) {
    char line[32];
    snprintf(line, sizeof line, "%d %d 256 2", ICON, ICON);
    xpm_text.push_back(line);
    xpm_text.push_back("00 c None");
    for (int i = 1; i < 256; i++) {
        snprintf(line, sizeof line, "%02x c #%02x%02x%02x", i, pal[4 * i + 2], pal[4 * i + 1], pal[4 * i]);
        xpm_text.push_back(line);
    }
    for (int y = 0; y < ICON; y++) {
        std::string row;
        for (int x = 0; x < ICON; x++) {
            snprintf(line, sizeof line, "%02x", pixels[y * ICON + x]);
            row += line;
        }
        xpm_text.push_back(row);
    }
    for (const std::string &s : xpm_text) xpm.push_back(s.c_str());
}

}  // namespace

void DisplayNameWindow(const char *icon_path) {
    xwin_set_window_name("earthguard", "Earthguard");
    std::vector<unsigned char> pixels, pal;
    xpm_text.clear();
    xpm.clear();
    if (ReadIcon(icon_path, &pixels, &pal)) MakeXpm(pixels, pal);
    // Without our icon, none rather than the library's own.
    allegro_icon = xpm.empty() ? NULL : (void *)xpm.data();
}
