// The game clock, counted in frames of 1000/60 ms, and the keys the game
// sees. Headless runs take their keys from a script; live runs step the same
// clock, sleep until the wall clock catches up at each step and read the
// keyboard at each frame start (platform.cpp, platform/replay.cpp), so both
// compute the same frames from the same key events. Headless also keeps the
// last presented picture for screenshots and logs the sounds.
//
// Script format, one event per line, '#' starts a comment line:
//   F down KEY         key held from frame F
//   F up KEY           key released at frame F
//   F press KEY        held at F, released at F + 1; readkey() gets it with its ASCII code
//   F type TEXT        presses each character of TEXT, one per frame from F
//   F keybuf KEY CODE  readkey() gets KEY with character code CODE at F; held state untouched
//   F end              the run ends when the clock reaches frame F
// KEY is an Allegro key name without KEY_ (LEFT, SPACE, ENTER, A, 0, ...), or
// K and the scancode for keys without a name here (K105).

#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/replay.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

namespace {

struct KeyEvent {
    long frame;
    bool down;  // ups sort before downs of the same frame
    int scancode;
};

struct Press {
    long frame;
    int scancode;
    int ascii;
};

struct Shot {
    long frame;
    std::string path;
    bool done;   // its frame has come
    bool saved;  // ... and the picture is in its file
};

const long long FRAME = 1000;  // virtual time units per frame
const long long MSEC = 60;     // virtual time units per millisecond

long long vt;                  // virtual time
std::vector<KeyEvent> events;  // sorted by frame
size_t next_event;             // first event not applied yet
std::vector<Press> presses;    // sorted by frame
size_t next_press;             // first press not read yet
long keybuf_from;              // presses before this frame were thrown away by clear_keybuf
int key_releases[KEY_MAX];     // times each key went from held to up
long frame_limit = -1;         // --frames, or -1
long script_end = -1;          // frame after the script's last event, or -1 without a script
long end_frame = -1;           // the script's end line, or -1
int tapped;                    // key held only because readkey() just returned it, or 0
std::vector<Shot> shots;

BITMAP *picture;  // the last presented picture
PALETTE shown;    // the palette on display
long presents;
bool midi_playing;

const int LOG_SIZE = 256;
SoundEvent sound_log[LOG_SIZE];
int sound_count;
struct SampleCount {
    SAMPLE *sample;
    int plays;
};
SampleCount sample_counts[64];

// Allegro key names, without the KEY_ prefix.
struct KeyName {
    const char *name;
    int scancode;
    int ascii;  // what readkey() gives for the key without shift, 0 for none
};

#define K(n, a)                                                                                              \
    { #n, KEY_##n, a }
const KeyName key_names[] = {
    K(A, 'a'),          K(B, 'b'),        K(C, 'c'),         K(D, 'd'),        K(E, 'e'),
    K(F, 'f'),          K(G, 'g'),        K(H, 'h'),         K(I, 'i'),        K(J, 'j'),
    K(K, 'k'),          K(L, 'l'),        K(M, 'm'),         K(N, 'n'),        K(O, 'o'),
    K(P, 'p'),          K(Q, 'q'),        K(R, 'r'),         K(S, 's'),        K(T, 't'),
    K(U, 'u'),          K(V, 'v'),        K(W, 'w'),         K(X, 'x'),        K(Y, 'y'),
    K(Z, 'z'),          K(0, '0'),        K(1, '1'),         K(2, '2'),        K(3, '3'),
    K(4, '4'),          K(5, '5'),        K(6, '6'),         K(7, '7'),        K(8, '8'),
    K(9, '9'),          K(0_PAD, '0'),    K(1_PAD, '1'),     K(2_PAD, '2'),    K(3_PAD, '3'),
    K(4_PAD, '4'),      K(5_PAD, '5'),    K(6_PAD, '6'),     K(7_PAD, '7'),    K(8_PAD, '8'),
    K(9_PAD, '9'),      K(F1, 0),         K(F2, 0),          K(F3, 0),         K(F4, 0),
    K(F5, 0),           K(F6, 0),         K(F7, 0),          K(F8, 0),         K(F9, 0),
    K(F10, 0),          K(F11, 0),        K(F12, 0),         K(ESC, 27),       K(TILDE, '`'),
    K(MINUS, '-'),      K(EQUALS, '='),   K(BACKSPACE, 8),   K(TAB, 9),        K(OPENBRACE, '['),
    K(CLOSEBRACE, ']'), K(ENTER, 13),     K(COLON, ';'),     K(QUOTE, '\''),   K(BACKSLASH, '\\'),
    K(BACKSLASH2, 0),   K(COMMA, ','),    K(STOP, '.'),      K(SLASH, '/'),    K(SPACE, ' '),
    K(INSERT, 0),       K(DEL, 127),      K(HOME, 0),        K(END, 0),        K(PGUP, 0),
    K(PGDN, 0),         K(LEFT, 0),       K(RIGHT, 0),       K(UP, 0),         K(DOWN, 0),
    K(SLASH_PAD, '/'),  K(ASTERISK, '*'), K(MINUS_PAD, '-'), K(PLUS_PAD, '+'), K(DEL_PAD, 127),
    K(ENTER_PAD, 13),   K(PRTSCR, 0),     K(PAUSE, 0),       K(LSHIFT, 0),     K(RSHIFT, 0),
    K(LCONTROL, 0),     K(RCONTROL, 0),   K(ALT, 0),         K(ALTGR, 0),      K(LWIN, 0),
    K(RWIN, 0),         K(MENU, 0),       K(SCRLOCK, 0),     K(NUMLOCK, 0),    K(CAPSLOCK, 0),
};
#undef K

// A key by name, or by "K" and its scancode for keys without a name.
int FindKey(const std::string &name) {
    for (const KeyName &k : key_names)
        if (name == k.name) return k.scancode;
    if (name.size() >= 2 && name.size() <= 4 && name[0] == 'K' &&
        name.find_first_not_of("0123456789", 1) == std::string::npos) {
        int sc = std::stoi(name.substr(1));
        if (sc < KEY_MAX) return sc;
    }
    return -1;
}

int KeyAscii(int scancode) {
    for (const KeyName &k : key_names)
        if (k.scancode == scancode) return k.ascii;
    return 0;
}

// The key that types character c, 0 when there is none.
int KeyForChar(int c) {
    if (c >= 'A' && c <= 'Z') return KEY_A + (c - 'A');
    for (const KeyName &k : key_names)
        if (k.ascii == c && k.ascii != 0) return k.scancode;
    return 0;
}

long CurrentFrame() {
    return (long)(vt / FRAME);
}

void SaveShots(long before) {
    for (Shot &s : shots) {
        if (s.done || s.frame >= before) continue;
        s.done = true;
        s.saved = picture && SavePicture(s.path, picture, shown);
        if (!picture)
            fprintf(stderr, "earthguard: nothing presented before frame %ld, no picture for %s\n", s.frame,
                    s.path.c_str());
        else if (!s.saved)
            fprintf(stderr, "earthguard: cannot write %s\n", s.path.c_str());
    }
}

// A key that readkey() returned counts as held until the next frame or
// key read, however short the tap was.
void ReleaseTapped() {
    if (tapped) key[tapped] = 0;
    tapped = 0;
}

void ApplyKeys(long frame) {
    while (next_event < events.size() && events[next_event].frame <= frame) {
        const KeyEvent &e = events[next_event++];
        if (!e.down && key[e.scancode]) key_releases[e.scancode]++;
        key[e.scancode] = e.down ? -1 : 0;  // Allegro's TRUE is -1
    }
}

// The clock has just reached the start of frame f.
void EnterFrame(long f) {
    ReleaseTapped();
    if (!sys_headless) LiveFrameStart(f);
    SaveShots(f);
    ApplyKeys(f);
    if (frame_limit >= 0 && f >= frame_limit) throw RunOver();
    if (frame_limit < 0 && script_end >= 0 && f >= script_end) throw RunOver();
}

// Live, each step first sleeps until the wall clock reaches it.
void AdvanceTo(long long t) {
    while ((vt / FRAME + 1) * FRAME <= t) {
        long f = CurrentFrame() + 1;
        if (!sys_headless) LiveSleepUntil(f * FRAME);
        vt = f * FRAME;
        EnterFrame(f);
    }
    if (t > vt) {
        if (!sys_headless) LiveSleepUntil(t);
        vt = t;
    }
}

void AddKey(long frame, int scancode, bool down) {
    if (scancode) events.push_back({frame, down, scancode});
}

void AddPress(long frame, int scancode, int ascii) {
    AddKey(frame, scancode, true);
    AddKey(frame + 1, scancode, false);
    presses.push_back({frame, scancode, ascii});
}

bool ParseKeybuf(long frame, int scancode, std::istringstream &in, std::string *err) {
    int code;
    std::string rest;
    if (!(in >> code) || code < 0 || code > 255 || ((in >> rest) && rest[0] != '#')) {
        *err = "expected 'FRAME keybuf KEY CODE' with CODE 0..255";
        return false;
    }
    presses.push_back({frame, scancode, code});
    return true;
}

bool ParseLine(const std::string &line, std::string *err) {
    size_t i = 0;
    while (i < line.size() && isspace((unsigned char)line[i])) i++;
    if (i == line.size() || line[i] == '#') return true;

    std::istringstream in(line.substr(i));
    long frame = 0;
    std::string number, verb;
    in >> number;
    bool digits = !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
    if (digits && !HeadlessParseFrame(number, &frame)) {
        *err = "frame " + number + " is past the last frame a run can reach, " +
               std::to_string(HEADLESS_MAX_FRAMES);
        return false;
    }
    if (!digits || !(in >> verb)) {
        *err = "expected 'FRAME down|up|press|type ...'";
        return false;
    }
    if (verb == "type") {
        std::string text;
        std::getline(in, text);
        if (!text.empty() && text[0] == ' ') text.erase(0, 1);
        for (size_t c = 0; c < text.size(); c++)
            AddPress(frame + (long)c, KeyForChar((unsigned char)text[c]), (unsigned char)text[c]);
        return true;
    }
    if (verb == "end") {
        end_frame = frame;
        return true;
    }
    std::string name, rest;
    in >> name;
    int sc = FindKey(name);
    if (sc < 0) {
        *err = "unknown key '" + name + "'";
        return false;
    }
    if (verb == "keybuf") return ParseKeybuf(frame, sc, in, err);
    in >> rest;
    if (!rest.empty() && rest[0] != '#') {
        *err = "unexpected '" + rest + "' after the key name";
        return false;
    }
    if (verb == "down")
        AddKey(frame, sc, true);
    else if (verb == "up")
        AddKey(frame, sc, false);
    else if (verb == "press")
        AddPress(frame, sc, KeyAscii(sc));
    else {
        *err = "unknown action '" + verb + "'";
        return false;
    }
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Headless control
// ---------------------------------------------------------------------------

void HeadlessReset() {
    vt = 0;
    for (int i = 0; i < KEY_MAX; i++) key[i] = 0;
    memset(key_releases, 0, sizeof key_releases);
    events.clear();
    presses.clear();
    next_event = next_press = 0;
    keybuf_from = 0;
    frame_limit = script_end = end_frame = -1;
    tapped = 0;
    ReplayReset();
    shots.clear();
    if (picture) clear_to_color(picture, 0);
    memset(shown, 0, sizeof shown);
    presents = 0;
    midi_playing = false;
    sound_count = 0;
    memset(sample_counts, 0, sizeof sample_counts);
}

bool HeadlessParseScript(const std::string &text, std::string *err) {
    std::istringstream in(text);
    std::string line;
    for (int n = 1; std::getline(in, line); n++) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string why;
        if (!ParseLine(line, &why)) {
            *err = "line " + std::to_string(n) + ": " + why;
            return false;
        }
    }
    // Stable sorts keep the script's order within a frame; ups go first so
    // that a key pressed on consecutive frames stays held.
    std::stable_sort(events.begin() + (long)next_event, events.end(),
                     [](const KeyEvent &a, const KeyEvent &b) {
                         return a.frame != b.frame ? a.frame < b.frame : (!a.down && b.down);
                     });
    std::stable_sort(presses.begin() + (long)next_press, presses.end(),
                     [](const Press &a, const Press &b) { return a.frame < b.frame; });
    for (const KeyEvent &e : events) script_end = std::max(script_end, e.frame + 1);
    for (const Press &p : presses) script_end = std::max(script_end, p.frame + 1);
    if (end_frame >= 0) script_end = end_frame;
    ApplyKeys(CurrentFrame());
    return true;
}

bool HeadlessParseFrame(const std::string &s, long *frame) {
    if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    long n = strtol(s.c_str(), NULL, 10);
    if (errno == ERANGE || n > HEADLESS_MAX_FRAMES) return false;
    *frame = n;
    return true;
}

// A folder opens like a file and reads as empty: only a read error tells.
bool HeadlessLoadScript(const char *path, std::string *err) {
    FILE *f = fopen(path, "rb");
    std::string text;
    char buf[4096];
    size_t n;
    while (f && (n = fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    if (!f || ferror(f)) {
        *err = std::string("cannot read ") + path + ": " + strerror(errno);
        if (f) fclose(f);
        return false;
    }
    fclose(f);
    if (!ReplayCheck(text, err) || !HeadlessParseScript(text, err)) {
        *err = std::string(path) + ": " + *err;
        return false;
    }
    return true;
}

void HeadlessSetFrameLimit(long frames) {
    frame_limit = frames;
}

void HeadlessAddShot(long frame, const std::string &path) {
    shots.push_back({frame, path, false, false});
}

bool HeadlessFinish() {
    long now = CurrentFrame();
    SaveShots(now + 1);
    bool all = true;
    for (const Shot &s : shots) {
        if (!s.done)
            fprintf(stderr, "earthguard: the run ended at frame %ld, no picture for frame %ld (%s)\n", now,
                    s.frame, s.path.c_str());
        all = all && s.saved;
    }
    return all;
}

long HeadlessFrame() {
    return CurrentFrame();
}

const char *HeadlessKeyName(int scancode, char *spare) {
    for (const KeyName &k : key_names)
        if (k.scancode == scancode) return k.name;
    snprintf(spare, 8, "K%d", scancode & 127);
    return spare;
}
BITMAP *HeadlessPicture() {
    return picture;
}
const RGB *HeadlessPalette() {
    return shown;
}
long HeadlessPresents() {
    return presents;
}
bool HeadlessMidiPlaying() {
    return midi_playing;
}
int HeadlessSoundCount() {
    return sound_count;
}

const SoundEvent *HeadlessSound(int i) {
    int kept = std::min(sound_count, LOG_SIZE);
    if (i < 0 || i >= kept) return NULL;
    return &sound_log[(sound_count - kept + i) % LOG_SIZE];
}

int HeadlessPlays(SAMPLE *s) {
    for (const SampleCount &c : sample_counts)
        if (c.sample == s) return c.plays;
    return 0;
}

// ---------------------------------------------------------------------------
// The virtual machine behind the platform layer
// ---------------------------------------------------------------------------

int VirtualMsec() {
    return (int)(vt / MSEC);
}

void VirtualSleep(int msec) {
    AdvanceTo(vt + msec * MSEC);
}

void VirtualWaitRetrace() {
    AdvanceTo((vt / FRAME + 1) * FRAME);
}

void VirtualPresent(BITMAP *b) {
    if (!picture) picture = create_bitmap_ex(8, 320, 256);
    blit(b, picture, 0, 0, 0, 0, 320, 256);
    presents++;
}

void VirtualSetPalette(const RGB *p) {
    memcpy(shown, p, sizeof shown);
}

// Waits for the next press that clear_keybuf() has not thrown away: a
// scripted one, or live one the keyboard gives at a frame start. A script
// with none left ends the run, at its end line if it has one.
int VirtualReadKey() {
    ReleaseTapped();
    for (;;) {
        while (next_press < presses.size() && presses[next_press].frame < keybuf_from) next_press++;
        if (next_press < presses.size() && presses[next_press].frame <= CurrentFrame()) break;
        if (next_press < presses.size())
            AdvanceTo(presses[next_press].frame * FRAME);
        else if (!sys_headless && !replay_playing)
            AdvanceTo((CurrentFrame() + 1) * FRAME);
        else if (end_frame > CurrentFrame())
            AdvanceTo(end_frame * FRAME);
        else
            throw RunOver();
    }
    Press p = presses[next_press++];
    if (p.scancode && !key[p.scancode]) {
        key[p.scancode] = -1;  // Allegro's TRUE
        tapped = p.scancode;
    }
    if (!sys_headless) RecordKeyRead(CurrentFrame(), p.scancode, p.ascii);
    return p.scancode << 8 | p.ascii;
}

void VirtualBufferKey(int scancode, int ascii) {
    presses.push_back({CurrentFrame(), scancode, ascii});
}

void VirtualClearKeybuf() {
    keybuf_from = CurrentFrame();
}

void VirtualKeyReleased(int k) {
    key_releases[k]++;
}

int VirtualKeyReleases(int k) {
    return key_releases[k];
}

void VirtualPlaySample(SAMPLE *s, int vol, int pan, int freq) {
    sound_log[sound_count % LOG_SIZE] = {s, vol, pan, freq, CurrentFrame()};
    sound_count++;
    for (SampleCount &c : sample_counts) {
        if (c.sample == s || !c.sample) {
            c.sample = s;
            c.plays++;
            break;
        }
    }
}

void VirtualSetMidi(bool playing) {
    midi_playing = playing;
}
