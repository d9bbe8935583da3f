// The intro music: a standard MIDI file (format 0) written note by note.

#include "mkdata.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Event {
    int tick;
    unsigned char status, a, b;
};

void Note(std::vector<Event> &ev, int ch, int tick, int len, int pitch, int vel) {
    ev.push_back({tick, (unsigned char)(0x90 | ch), (unsigned char)pitch, (unsigned char)vel});
    ev.push_back({tick + len, (unsigned char)(0x80 | ch), (unsigned char)pitch, 0});
}

void PutVar(std::vector<unsigned char> &v, unsigned n) {
    unsigned char bytes[5];
    int k = 0;
    do bytes[k++] = n & 127, n >>= 7;
    while (n);
    while (k--) v.push_back(bytes[k] | (k ? 128 : 0));
}

}  // namespace

bool WriteMusic(const std::string &dir) {
    const int Q = 96;  // ticks per quarter note
    std::vector<Event> ev;
    ev.push_back({0, 0xC0, 48, 0});               // strings
    ev.push_back({0, 0xC1, 38, 0});               // synth bass
    ev.push_back({0, 0xC2, 80, 0});               // square lead
    static const int roots[] = {45, 41, 43, 40};  // A minor, F, G, E
    static const int melody[] = {69, 72, 76, 74, 72, 71, 69, 64};
    int tick = 0;
    for (int bar = 0; bar < 36; bar++) {
        int root = roots[bar % 4];
        Note(ev, 0, tick, 4 * Q, root + 12, 60);
        Note(ev, 0, tick, 4 * Q, root + 19, 50);
        for (int b = 0; b < 8; b++) Note(ev, 1, tick + b * Q / 2, Q / 2 - 4, root, 90);
        if (bar >= 4)
            for (int n = 0; n < 8; n++)
                Note(ev, 2, tick + n * Q / 2, Q / 2 - 8, melody[(n + bar) % 8] - (bar % 4 == 3 ? 1 : 0), 70);
        tick += 4 * Q;
    }
    std::stable_sort(ev.begin(), ev.end(), [](const Event &x, const Event &y) { return x.tick < y.tick; });

    std::vector<unsigned char> trk = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};  // 500000 us a quarter
    int last = 0;
    for (const Event &e : ev) {
        PutVar(trk, e.tick - last);
        last = e.tick;
        trk.push_back(e.status);
        trk.push_back(e.a);
        if ((e.status & 0xF0) != 0xC0) trk.push_back(e.b);
    }
    unsigned char end[] = {0x00, 0xFF, 0x2F, 0x00};
    trk.insert(trk.end(), end, end + 4);

    FILE *f = fopen((dir + "bgsound.mid").c_str(), "wb");
    if (!f) return false;
    unsigned char head[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, Q};
    fwrite(head, 1, sizeof head, f);
    unsigned n = trk.size();
    unsigned char th[] = {'M',
                          'T',
                          'r',
                          'k',
                          (unsigned char)(n >> 24),
                          (unsigned char)(n >> 16),
                          (unsigned char)(n >> 8),
                          (unsigned char)n};
    fwrite(th, 1, 8, f);
    fwrite(trk.data(), 1, n, f);
    return fclose(f) == 0;
}
