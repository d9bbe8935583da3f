// Starts the game's platform layer on a real display and plays (the tests
// point Allegro's ALSA output at a WAV file and read it back).
//
//   music_probe MILLISECONDS   plays the intro music that long and prints the
//                              MIDI driver
//   music_probe effects        plays a short stretch of the game (a shot, a
//                              lost ship, a shot) and prints the lengths
//                              of their sounds in ms

#include "core/core.h"
#include "platform/platform.h"
#include "aliens/aliens.h"
#include "flow/flow.h"
#include "players/players.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

static int PlayEffects() {
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
    printf("%.0f %.0f %.0f\n", ms(pl_fx[0]), ms(pl_fx[1]), ms(pl_fx[0]));  // shot, lost ship, shot
    remove_sound();                                                        // closes the capture
    return 0;
}

int main(int argc, char **argv) {
    if (argc != 2) return 2;
    sys_headless = false;
    sys_gfx_card = GFX_AUTODETECT_WINDOWED;
    if (strcmp(argv[1], "effects") == 0) return PlayEffects();
    if (const char *why = SysStartup()) {
        printf("start-up failed: %s\n", why);
        return 1;
    }
    printf("midi driver: %s\n", midi_driver->name);
    MIDI *m = load_midi("data/audio/bgsound.mid");
    if (!m) return 1;
    SysPlayMidi(m, true);
    rest(atoi(argv[1]));
    SysStopMidi();
    remove_sound();  // closes the capture
    return 0;
}
END_OF_MAIN()
