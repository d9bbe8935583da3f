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
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The captured samples (16-bit, unsigned as ALSA's file output writes them
// whatever the header says), channels interleaved, after closing the capture.
static std::vector<double> Capture(const char *path, int *channels, int *rate) {
    remove_sound();
    std::ifstream f(path, std::ios::binary);
    std::vector<unsigned char> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::vector<double> v;
    *channels = *rate = 0;
    if (d.size() < 44) return v;
    *channels = d[22] | d[23] << 8;
    *rate = d[24] | d[25] << 8 | d[26] << 16;
    for (size_t i = 44; i + 1 < d.size(); i += 2) v.push_back((d[i] | d[i + 1] << 8) - 32768.0);
    return v;
}

static double Loudness(const std::vector<double> &v, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; i++) sum += v[i] * v[i];
    return to > from ? sqrt(sum / (to - from)) : -1;
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
    MODE = 2, SKILL = 2, NPLAYERS = 1, LIVES = 9, POWER = WEAPON = 1, speed = speed2 = 1, bo_m = 1;
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
    auto ms = [](const SAMPLE *s) { return 1000.0 * s->len / s->freq; };
    printf("expected: shot %.0f ms, lost ship %.0f ms, shot %.0f ms\n", ms(pl_fx[0]), ms(pl_fx[1]), ms(pl_fx[0]));
    // Runs of sound: 5 ms windows louder than a whisper, gaps under 60 ms
    // inside a sound bridged.
    int channels, rate;
    std::vector<double> v = Capture(capture, &channels, &rate);
    if (channels < 1 || rate < 200) return 1;
    const size_t win = rate / 200 * channels;
    double start = -1e9, last_loud = -1e9;
    for (size_t i = 0; i + win <= v.size(); i += win) {
        if (Loudness(v, i, i + win) < 100) continue;
        double t = i / channels * 1000.0 / rate;
        if (t - last_loud > 60) {
            if (start >= 0) printf("burst: at %.0f ms, %.0f ms long\n", start, last_loud + 5 - start);
            start = t;
        }
        last_loud = t;
    }
    if (start >= 0) printf("burst: at %.0f ms, %.0f ms long\n", start, last_loud + 5 - start);
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
    int channels, rate;
    std::vector<double> v = Capture(argv[1], &channels, &rate);
    printf("captured loudness: %.0f\n", Loudness(v, 0, v.size()));
    return 0;
}
END_OF_MAIN()
