#include "support/shown_text.h"
#include "support/harness.h"

#include <cstdlib>
#include <sstream>
#include <unistd.h>

bool ShowsText(int x, int y, int fg, int bgc, const std::string &text, int width) {
    BITMAP *shown = HeadlessPicture();
    if (!shown || text.empty()) return false;
    BITMAP *ref = create_bitmap_ex(8, 8 * (int)text.size(), 8);
    textprintf_ex(ref, font, 0, 0, fg, bgc, "%s", text.c_str());
    int w = width < 0 || width > ref->w ? ref->w : width;
    bool same = true;
    for (int j = 0; j < ref->h && same; j++)
        for (int i = 0; i < w && same; i++) same = getpixel(shown, x + i, y + j) == getpixel(ref, i, j);
    destroy_bitmap(ref);
    return same;
}

bool NoColourIn(int x, int y, int w, int h, int c) {
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            if (Shown(i, j) == c) return false;
    return true;
}

std::string Presses(const std::vector<std::string> &keys, long from, long step) {
    std::ostringstream s;
    long f = from;
    for (const std::string &k : keys) {
        size_t plus = k.find('+');
        if (plus == std::string::npos) {
            s << f << " press " << k << "\n";
        } else {
            s << f << " down " << k.substr(0, plus) << "\n";
            s << f << " press " << k.substr(plus + 1) << "\n";
            s << f + 2 << " up " << k.substr(0, plus) << "\n";
        }
        f += step;
    }
    return s.str();
}

ScratchSubdir::ScratchSubdir(const std::string &name) : path(ScratchDir() + "/" + name) {
    std::string cmd = "rm -rf '" + path + "' && mkdir -p '" + path + "' && ln -s '" + SourcePath("data") +
                      "' '" + path + "/data'";
    if (system(cmd.c_str()) != 0 || chdir(path.c_str()) != 0) abort();
}

ScratchSubdir::~ScratchSubdir() {
    if (chdir(ScratchDir().c_str()) != 0) abort();
}
