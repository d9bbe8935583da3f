// Starts the game's platform layer on a real display and plays the intro
// music for a few seconds, then reads back what the sound driver wrote
// (the test points Allegro's ALSA output at a WAV file) and prints the
// drivers in use and the loudness of the captured sound.
//
//   music_probe CAPTURE.wav MILLISECONDS

#include "core/platform.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

// RMS of the captured samples (16-bit, unsigned as ALSA's file output
// writes them), or -1 if the file cannot be read.
static double CapturedLoudness(const char *path) {
    FILE *f = fopen(path, "rb");
    if (!f) return -1;
    std::vector<unsigned char> d;
    int c;
    while ((c = fgetc(f)) != EOF) d.push_back((unsigned char)c);
    fclose(f);
    if (d.size() < 44) return -1;
    double sum = 0;
    size_t n = 0;
    for (size_t i = 44; i + 1 < d.size(); i += 2, n++) {
        double v = (d[i] | d[i + 1] << 8) - 32768.0;
        sum += v * v;
    }
    return n ? sqrt(sum / n) : -1;
}

int main(int argc, char **argv) {
    if (argc != 3) return 2;
    sys_headless = false;
    sys_gfx_card = GFX_AUTODETECT_WINDOWED;
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
    printf("captured loudness: %.0f\n", CapturedLoudness(argv[1]));
    return 0;
}
END_OF_MAIN()
