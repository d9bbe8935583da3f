// The intro music: a standard MIDI file (format 0) written from the score
// below. A dark march in D minor, 32 bars at 112 beats a minute (about 69
// seconds); it ends on the dominant so that it loops back into its start.
// It uses only the instruments our own patch set provides (patches.cpp).

#include "mkdata.h"
#include "music.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <vector>

namespace {

const int Q = 96, E = Q / 2, BAR = 4 * Q;  // ticks: quarter, eighth, bar

struct Event {
    int tick, order;
    unsigned char status, a, b;
};

struct Song {
    std::vector<Event> ev;
    void Add(int tick, int status, int a, int b) {
        // Note-offs before note-ons at the same tick, so repeated notes restart.
        int order = (status & 0xF0) == 0x80 ? 0 : 1;
        ev.push_back({tick, order, (unsigned char)status, (unsigned char)a, (unsigned char)b});
    }
    void Note(int ch, int tick, int len, int pitch, int vel) {
        Add(tick, 0x90 | ch, pitch, vel);
        Add(tick + len, 0x80 | ch, pitch, 0);
    }
};

// "D5", "Bb4", "C#6" -> MIDI note number.
int Pitch(const std::string &name) {
    if (name.empty() || name[0] < 'A' || name[0] > 'G') {
        fprintf(stderr, "mkdata: \"%s\" is not a note\n", name.c_str());
        abort();
    }
    static const int base[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    int n = base[name[0] - 'A'], i = 1;
    if (name[i] == '#') n++, i++;
    if (name[i] == 'b') n--, i++;
    return n + 12 * (atoi(name.c_str() + i) + 1);
}

// A melody line: "note eighths" pairs, "r" for a rest, "|" between bars.
int Melody(Song &s, int ch, int tick, const char *line, int vel, int transpose = 0) {
    std::istringstream in(line);
    std::string tok;
    while (in >> tok) {
        if (tok == "|") continue;
        int len;
        in >> len;
        if (tok != "r") s.Note(ch, tick, len * E - 6, Pitch(tok) + transpose, vel);
        tick += len * E;
    }
    return tick;
}

struct Chord {
    int root;  // pitch class
    bool minor;
};

// "Dm", "Bb", "C#" -> its root and whether it is minor.
Chord Parse(const std::string &c) {
    int root = Pitch(c.substr(0, c[1] == 'b' || c[1] == '#' ? 2 : 1) + "0") % 12;
    return {root, c.back() == 'm'};
}

// Pads hold the chord for the bar; the bass pulses its root in eighths.
void Harmony(Song &s, int tick, const std::vector<std::string> &chords, bool busy_bass) {
    for (const std::string &name : chords) {
        Chord c = Parse(name);
        int third = c.minor ? 3 : 4;
        for (int iv : {0, third, 7}) {
            int p = 57 + (c.root - 9 + iv + 24) % 12;  // voiced from A3 up
            s.Note(0, tick, BAR - 8, p, 62);
        }
        int bass = 36 + (c.root + 12 - 2) % 12 + 2;  // D2 .. C#3
        if (bass > 47) bass -= 12;
        for (int e = 0; e < 8; e++) {
            int p = bass + ((busy_bass && (e == 3 || e == 7)) ? 12 : 0);
            s.Note(1, tick + e * E, E - 10, p, e % 2 ? 84 : 104);
        }
        tick += BAR;
    }
}

enum { KICK = 36, SNARE = 38, HAT = 42, TOM = 45, CRASH = 49 };

// How long each drum rings, in ticks: a drum's note lasts that long (or up
// to its next hit), since the synthesiser stops a voice at its note's end.
int Ring(int note) {
    switch (note) {
    case HAT:
        return 14;
    case SNARE:
        return 44;
    case CRASH:
        return 260;
    default:
        return 56;
    }
}

// One bar of drums from a pattern: one character per sixteenth for each
// instrument ('x' hit, 'o' soft hit).
void DrumBar(Song &s, int tick, const char *kick, const char *snare, const char *hat, const char *tom,
             bool crash) {
    const char *rows[4] = {kick, snare, hat, tom};
    const int notes[4] = {KICK, SNARE, HAT, TOM};
    for (int r = 0; r < 4; r++)
        for (int i = 0; i < 16 && rows[r][i]; i++) {
            if (rows[r][i] == '.') continue;
            int next = i + 1;
            while (next < 16 && rows[r][next] == '.') next++;
            int len = std::min(Ring(notes[r]), (next - i) * Q / 4) - 4;
            s.Note(9, tick + i * Q / 4, len, notes[r], rows[r][i] == 'x' ? 110 : 70);
        }
    if (crash) s.Note(9, tick, Ring(CRASH), CRASH, 100);
}

const char *NONE = "................";
const char *BEAT_K = "x.......x.......", *BEAT_K2 = "x.....x.x.......";
const char *BEAT_S = "....x.......x...", *HATS = "x.o.x.o.x.o.x.o.";
const char *FILL_S = "....x.......xoxx", *FILL_T = "........x.x.x.xx";
const char *ROLL_S = "x.x.x.x.xoxoxxxx";

// The tunes, eight bars each.
const char *THEME_A =
    "D5 4 A4 2 D5 1 E5 1 | F5 3 E5 1 D5 2 C5 2 | D5 4 Bb4 2 C5 1 D5 1 | F5 3 G5 1 F5 2 D5 2 |"
    " E5 4 C5 2 E5 1 F5 1 | G5 3 F5 1 E5 2 C5 2 | A5 4 G5 2 F5 1 E5 1 | C#5 6 r 2";
const char *THEME_B = "F5 2 Bb5 2 A5 2 G5 2 | E5 2 G5 2 C6 2 Bb5 2 | A5 4 F5 2 D5 2 | A5 3 Bb5 1 A5 2 F5 2 |"
                      " G5 2 F5 2 D5 2 F5 2 | E5 2 G5 2 C6 2 E6 2 | D6 3 C#6 1 A5 2 E5 2 | A5 4 G5 2 E5 2";
const char *STABS =
    "r 2 D4 1 D4 1 r 2 D4 2 | r 2 E4 1 E4 1 r 2 C#4 2 | r 2 D4 1 D4 1 r 2 Bb3 2 | A3 2 C#4 2 E4 2 G4 2";

}  // namespace

bool WriteMusic(const std::string &dir) {
    Song s;
    // Instruments, volumes and places in the stereo field.
    const int programs[4] = {PROG_STRINGS, PROG_BASS, PROG_LEAD, PROG_BRASS};
    const int volume[5] = {84, 104, 100, 92, 108}, pan[5] = {44, 64, 76, 88, 64};
    for (int ch = 0; ch < 5; ch++) {
        int c = ch == 4 ? 9 : ch;
        if (ch < 4) s.Add(0, 0xC0 | c, programs[ch], 0);
        s.Add(0, 0xB0 | c, 7, volume[ch]);
        s.Add(0, 0xB0 | c, 10, pan[ch]);
    }

    int t = 0;
    // Intro: the pads and bass alone, a heartbeat of kicks.
    Harmony(s, t, {"Dm", "Dm", "Bb", "A"}, false);
    for (int b = 0; b < 4; b++) DrumBar(s, t + b * BAR, BEAT_K, NONE, NONE, b == 3 ? FILL_T : NONE, b == 0);
    t += 4 * BAR;
    // Theme A.
    Harmony(s, t, {"Dm", "Dm", "Bb", "Bb", "C", "C", "A", "A"}, false);
    Melody(s, 2, t, THEME_A, 100);
    for (int b = 0; b < 8; b++) DrumBar(s, t + b * BAR, BEAT_K, b == 7 ? FILL_S : BEAT_S, HATS, NONE, b == 0);
    t += 8 * BAR;
    // Theme B, higher, the bass busier.
    Harmony(s, t, {"Bb", "C", "Dm", "Dm", "Bb", "C", "A", "A"}, true);
    Melody(s, 2, t, THEME_B, 104);
    for (int b = 0; b < 8; b++)
        DrumBar(s, t + b * BAR, BEAT_K2, BEAT_S, HATS, b == 7 ? FILL_T : NONE, b == 0);
    t += 8 * BAR;
    // Bridge: brass stabs over a building roll.
    Harmony(s, t, {"Gm", "A", "Gm", "A"}, true);
    Melody(s, 3, t, STABS, 96);
    for (int b = 0; b < 4; b++)
        DrumBar(s, t + b * BAR, BEAT_K, b == 3 ? ROLL_S : BEAT_S, b < 2 ? NONE : HATS, NONE, false);
    t += 4 * BAR;
    // Theme A again, the brass doubling the tune an octave down.
    Harmony(s, t, {"Dm", "Dm", "Bb", "Bb", "C", "C", "A", "A"}, true);
    Melody(s, 2, t, THEME_A, 104);
    Melody(s, 3, t, THEME_A, 80, -12);
    for (int b = 0; b < 8; b++)
        DrumBar(s, t + b * BAR, BEAT_K2, BEAT_S, HATS, b == 7 ? FILL_T : NONE, b == 0);
    t += 8 * BAR;
    const int end = t;  // 32 bars: every note has ended by here

    std::stable_sort(s.ev.begin(), s.ev.end(), [](const Event &x, const Event &y) {
        return x.tick != y.tick ? x.tick < y.tick : x.order < y.order;
    });
    std::vector<unsigned char> trk = {0x00, 0xFF, 0x51, 0x03,
                                      0x08, 0x2C, 0x92};  // 535714 us a quarter: 112 bpm
    const char *name = "Earthguard intro";
    trk.insert(trk.end(), {0x00, 0xFF, 0x03, (unsigned char)strlen(name)});
    trk.insert(trk.end(), name, name + strlen(name));
    int last = 0;
    auto var = [&](unsigned n) {
        unsigned char bytes[5];
        int k = 0;
        do bytes[k++] = n & 127, n >>= 7;
        while (n);
        while (k--) trk.push_back(bytes[k] | (k ? 128 : 0));
    };
    for (const Event &e : s.ev) {
        var(e.tick - last);
        last = e.tick;
        trk.push_back(e.status);
        trk.push_back(e.a);
        if ((e.status & 0xF0) != 0xC0) trk.push_back(e.b);
    }
    var(end - last);  // the track lasts exactly to the end of the last bar
    trk.insert(trk.end(), {0xFF, 0x2F, 0x00});

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
    return fclose(f) == 0 && WritePatches(dir);
}
