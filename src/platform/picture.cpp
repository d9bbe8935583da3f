// Screenshots: an 8-bit picture with its palette, as BMP or PNG.

#include "platform/platform.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>
#include <zlib.h>

static bool EndsWith(const std::string &s, const char *tail) {
    size_t n = strlen(tail);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; i++)
        if (tolower((unsigned char)s[s.size() - n + i]) != tail[i]) return false;
    return true;
}

static void Put32(std::vector<unsigned char> &v, unsigned long x) {
    v.push_back((x >> 24) & 255);
    v.push_back((x >> 16) & 255);
    v.push_back((x >> 8) & 255);
    v.push_back(x & 255);
}

static void PutChunk(FILE *f, const char *type, const std::vector<unsigned char> &data) {
    std::vector<unsigned char> chunk;
    Put32(chunk, data.size());
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    unsigned long crc = crc32(0, chunk.data() + 4, (uInt)(chunk.size() - 4));
    Put32(chunk, crc);
    fwrite(chunk.data(), 1, chunk.size(), f);
}

// Indexed-colour PNG: palette entries are 6-bit, widened to 8.
static bool SavePng(const std::string &path, BITMAP *b, const RGB *p) {
    std::vector<unsigned char> ihdr, plte, raw, idat;
    Put32(ihdr, b->w);
    Put32(ihdr, b->h);
    unsigned char tail[] = {8, 3, 0, 0, 0};  // 8 bits, palette, deflate, no filter, no interlace
    ihdr.insert(ihdr.end(), tail, tail + 5);
    for (int i = 0; i < 256; i++) {
        plte.push_back(p[i].r << 2 | p[i].r >> 4);
        plte.push_back(p[i].g << 2 | p[i].g >> 4);
        plte.push_back(p[i].b << 2 | p[i].b >> 4);
    }
    for (int y = 0; y < b->h; y++) {
        raw.push_back(0);
        raw.insert(raw.end(), b->line[y], b->line[y] + b->w);
    }
    uLongf size = compressBound(raw.size());
    idat.resize(size);
    if (compress2(idat.data(), &size, raw.data(), raw.size(), 9) != Z_OK) return false;
    idat.resize(size);

    FILE *f = fopen(path.c_str(), "wb");
    if (!f) return false;
    static const unsigned char signature[8] = {137, 'P', 'N', 'G', 13, 10, 26, 10};
    fwrite(signature, 1, 8, f);
    PutChunk(f, "IHDR", ihdr);
    PutChunk(f, "PLTE", plte);
    PutChunk(f, "IDAT", idat);
    PutChunk(f, "IEND", {});
    return fclose(f) == 0;
}

bool SavePicture(const std::string &path, BITMAP *b, const RGB *p) {
    if (EndsWith(path, ".png")) return SavePng(path, b, p);
    return save_bmp(path.c_str(), b, p) == 0;
}
