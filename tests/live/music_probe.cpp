// Starts the game's platform layer on a real display and reads back what
// the sound driver wrote (the tests point Allegro's ALSA output at a WAV
// file).
//
//   music_probe CAPTURE.wav MILLISECONDS   plays the intro music that long and
//                                          prints the drivers and the loudness
//   music_probe CAPTURE.wav effects        plays a short stretch of the game
//                                          (a shot, a lost ship, a shot) and
//                                          prints the bursts of sound heard

#include "core/core.h"
#include "platform/platform.h"
#include "aliens/aliens.h"
#include "flow/flow.h"
#include "players/players.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

struct Capture {
    int channels = 0, rate = 0;
    std::vector<double> v;  // signed sample values, channels interleaved
};

// The captured samples (16-bit, unsigned as ALSA's file output writes them
// whatever the header says); empty if the file cannot be read.
static Capture ReadCapture(const char *path) {
    Capture c;
    FILE *f = fopen(path, "rb");
    if (!f) return c;
    std::vector<unsigned char> d;
    for (int ch; (ch = fgetc(f)) != EOF;) d.push_back((unsigned char)ch);
    fclose(f);
    if (d.size() < 44) return c;
    c.channels = d[22] | d[23] << 8;
    c.rate = d[24] | d[25] << 8 | d[26] << 16 | d[27] << 24;
    for (size_t i = 44; i + 1 < d.size(); i += 2) c.v.push_back((d[i] | d[i + 1] << 8) - 32768.0);
    return c;
}

static double Loudness(const Capture &c) {
    double sum = 0;
    for (double x : c.v) sum += x * x;
    return c.v.empty() ? -1 : sqrt(sum / c.v.size());
}

// Runs of sound in the capture, in milliseconds of the captured stream:
// 5 ms windows louder than a whisper, gaps under 60 ms inside a sound
// bridged.
struct Burst {
    double start, length;
};
static std::vector<Burst> Bursts(const Capture &c) {
    std::vector<Burst> out;
    if (c.channels < 1 || c.rate < 1) return out;
    const size_t win = c.rate / 200 * c.channels;
    const double ms = 5.0;
    double last_loud = -1e9;
    for (size_t i = 0; i + win <= c.v.size(); i += win) {
        double sum = 0;
        for (size_t k = i; k < i + win; k++) sum += c.v[k] * c.v[k];
        if (sqrt(sum / win) < 100) continue;
        double t = i / c.channels * 1000.0 / c.rate;
        if (out.empty() || t - last_loud > 60)
            out.push_back({t, ms});
        else
            out.back().length = t + ms - out.back().start;
        last_loud = t;
    }
    return out;
}

static double LengthMs(const SAMPLE *s) {
    return 1000.0 * s->len / s->freq;
}

// The game in Old mode with an empty sky and no aliens: only the sounds
// played here can be heard.
static void QuietFrames(int n) {
    for (int i = 0; i < n; i++) {
        ship.state = 0;
        ship_bomb.on = false;
        Frame();
    }
}

// The keyboard is read as each frame starts, so a key is given the way a
// script gives it: held through the next frame.
static void TapSpace() {
    long f = HeadlessFrame() + 1;
    std::string err;
    HeadlessParseScript(std::to_string(f) + " down SPACE\n" + std::to_string(f + 1) + " up SPACE\n", &err);
}

static int PlayEffects(const char *capture) {
    if (Init() != 0) return 1;
    HeadlessSetFrameLimit(1000000);  // the taps below are no script whose end ends the run
    MODE = 2;
    SKILL = 2;
    NPLAYERS = 1;
    LIVES = 9;
    POWER = WEAPON = 1;
    speed = speed2 = 1;
    bo_m = 1;
    InitPlay();
    for (auto &column : alien)
        for (alien_t &a : column) a.dead = true;
    QuietFrames(30);
    TapSpace();  // a shot
    QuietFrames(90);
    PlayerHit();  // a lost ship
    QuietFrames(150);
    TapSpace();  // another shot
    QuietFrames(90);
    printf("expected: shot %.0f ms, lost ship %.0f ms, shot %.0f ms\n", LengthMs(pl_fx[0]),
           LengthMs(pl_fx[1]), LengthMs(pl_fx[0]));
    remove_sound();  // closes the capture
    Capture c = ReadCapture(capture);
    for (const Burst &b : Bursts(c)) printf("burst: at %.0f ms, %.0f ms long\n", b.start, b.length);
    return 0;
}

int main(int argc, char **argv) {
    if (argc != 3) return 2;
    sys_headless = false;
    sys_gfx_card = GFX_AUTODETECT_WINDOWED;
    if (strcmp(argv[2], "effects") == 0) return PlayEffects(argv[1]);
    if (const char *why = SysStartup()) {
        printf("start-up failed: %s\n", why);
        return 1;
    }
    printf("midi driver: %s\n", midi_driver->name);
    MIDI *m = load_midi("data/audio/bgsound.mid");
    if (!m) return 1;
    SysPlayMidi(m, true);
    rest(atoi(argv[2]));
    SysStopMidi();
    remove_sound();  // closes the capture
    printf("captured loudness: %.0f\n", Loudness(ReadCapture(argv[1])));
    return 0;
}
END_OF_MAIN()
