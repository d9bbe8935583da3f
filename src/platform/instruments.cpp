// Instrument set checks. See instruments.h.

#include "platform/instruments.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const size_t MAX_INDEX = 64 * 1024;  // bytes: an index is a few lines
const size_t PATCH_HEADER = 239;     // bytes before the first sample's header
const size_t SAMPLE_HEADER = 96;
const int MAX_LAYERS = 64;  // the synthesiser reads no more samples than this

bool Slurp(const std::string &path, size_t limit, std::vector<unsigned char> *data) {
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return false;
    int c;
    while ((c = fgetc(f)) != EOF && data->size() <= limit) data->push_back((unsigned char)c);
    bool ok = !ferror(f) && data->size() <= limit;
    fclose(f);
    return ok;
}

// A patch file whose samples are all there, as many bytes as their headers say.
bool PatchWhole(const std::string &path) {
    std::vector<unsigned char> d;
    if (!Slurp(path, 64u << 20, &d) || d.size() < PATCH_HEADER) return false;
    if (std::string(d.begin(), d.begin() + 22) != std::string("GF1PATCH110\0ID#000002\0", 22)) return false;
    int samples = d[198] < MAX_LAYERS ? d[198] : MAX_LAYERS;
    size_t at = PATCH_HEADER;
    for (int i = 0; i < samples; i++) {
        if (d.size() - at < SAMPLE_HEADER) return false;
        uint32_t len = d[at + 8] | d[at + 9] << 8 | d[at + 10] << 16 | (uint32_t)d[at + 11] << 24;
        at += SAMPLE_HEADER;
        if (len > d.size() - at) return false;
        at += len;
    }
    return true;
}

// The words of an index line, split as the synthesiser splits them; a '#'
// starts a comment.
std::vector<std::string> Words(const std::string &line) {
    std::vector<std::string> w;
    std::string cur;
    for (char c : line + " ") {
        if (c == '#' && cur.empty()) break;
        if (c == ' ' || c == '\t' || c == '=' || c == '\r') {
            if (!cur.empty()) w.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    return w;
}

bool Number(const std::string &s) {
    for (char c : s)
        if (!isdigit((unsigned char)c)) return false;
    return !s.empty() && s.size() < 4;
}

}  // namespace

bool InstrumentsWhole(const std::string &cfg, std::string *bad) {
    *bad = cfg;
    std::vector<unsigned char> text;
    if (!Slurp(cfg, MAX_INDEX, &text)) return false;
    for (unsigned char c : text)
        if (c != '\n' && c != '\t' && c != '\r' && (c < 32 || c > 126)) return false;

    std::string folder = cfg.substr(0, cfg.rfind('/') + 1);
    std::string all(text.begin(), text.end());
    int patches = 0;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        if (end == std::string::npos) end = all.size();
        std::vector<std::string> w = Words(all.substr(start, end - start));
        start = end + 1;
        if (w.empty() || (w.size() == 1 && w[0] == "end_multipatch")) continue;
        if (w.size() != 2 || !Number(w[0])) return false;
        if (w[1] == "begin_multipatch") continue;
        std::string patch = (w[1][0] == '/' ? "" : folder) + w[1];
        if (patch.find('.', patch.rfind('/') + 1) == std::string::npos) patch += ".pat";
        if (!PatchWhole(patch)) {
            *bad = patch;
            return false;
        }
        patches++;
    }
    return patches > 0;
}
