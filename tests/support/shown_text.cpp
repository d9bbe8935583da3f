#include "support/shown_text.h"
#include "support/harness.h"

#include <cstdlib>
#include <fstream>
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

int CountColour(int c, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = y1; y <= y2; y++)
        for (int x = x1; x <= x2; x++) n += Shown(x, y) == c;
    return n;
}

std::vector<std::string> KeyNames(const std::string &names) {
    std::istringstream in(names);
    std::vector<std::string> keys;
    for (std::string k; in >> k;) keys.push_back(k);
    return keys;
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

bool RunUntil(void (*fn)(), long limit, const std::string &script) {
    Fresh(script, limit);
    try {
        fn();
    } catch (const RunOver &) {
        return false;
    }
    return true;
}

std::string Slurp(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void WriteFile(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::map<std::string, int> FinalValues(const std::string &out) {
    std::map<std::string, int> v;
    size_t at = out.rfind("frames=");
    if (at == std::string::npos) return v;
    std::istringstream in(out.substr(at));
    std::string item;
    while (in >> item && item.find('=') != std::string::npos)
        v[item.substr(0, item.find('='))] = std::stoi(item.substr(item.find('=') + 1));
    return v;
}

ScratchSubdir::ScratchSubdir(const std::string &name) : path(ScratchDir() + "/" + name) {
    std::string cmd = "rm -rf '" + path + "' && mkdir -p '" + path + "' && ln -s '" + SourcePath("data") +
                      "' '" + path + "/data'";
    if (system(cmd.c_str()) != 0 || chdir(path.c_str()) != 0) abort();
}

ScratchSubdir::~ScratchSubdir() {
    if (chdir(ScratchDir().c_str()) != 0) abort();
}
