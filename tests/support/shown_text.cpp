#include "support/shown_text.h"
#include "support/harness.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

bool ShowsText(int x, int y, int fg, int bgc, const std::string &text, int width) {
    int w = 8 * (int)text.size(), differ = !HeadlessPicture() || text.empty();
    BITMAP *ref = create_bitmap_ex(8, w + 1, 8);
    textout_ex(ref, font, text.c_str(), 0, 0, fg, bgc);
    for (int j = 0; j < 8 && !differ; j++)
        for (int i = 0; i < (width < 0 || width > w ? w : width); i++)
            differ += Shown(x + i, y + j) != getpixel(ref, i, j);
    destroy_bitmap(ref);
    return !differ;
}

int CountColour(int c, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = y1; y <= y2; y++)
        for (int x = x1; x <= x2; x++) n += Shown(x, y) == c;
    return n;
}

std::vector<std::string> KeyNames(const std::string &names) {
    std::istringstream in(names);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

std::string Presses(const std::vector<std::string> &keys, long from, long step) {
    std::ostringstream s;
    for (const std::string &k : keys) {
        size_t plus = k.find('+');  // npos + 1: the whole name
        if (plus != std::string::npos) s << from << " down " << k.substr(0, plus) << "\n";
        s << from << " press " << k.substr(plus + 1) << "\n";
        if (plus != std::string::npos) s << from + 2 << " up " << k.substr(0, plus) << "\n";
        from += step;
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
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

void WriteFile(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::map<std::string, int> FinalValues(const std::string &out) {
    std::map<std::string, int> v;
    std::istringstream in(out.substr(std::min(out.rfind("frames="), out.size())));
    for (std::string item; in >> item && item.find('=') != std::string::npos;)
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
