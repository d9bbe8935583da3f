// Platform layer, live side and dispatch. See platform.h.

#include "platform/platform.h"
#include "platform/headless.h"
#include "platform/instruments.h"
#include "platform/paths.h"
#include "platform/replay.h"
#include "platform/display.h"
#include "platform/sound.h"

#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <cstring>
#include <thread>

using Clock = std::chrono::steady_clock;

bool sys_headless;
int sys_gfx_card = GFX_AUTODETECT;

static PALETTE shown;                               // the palette on display
static volatile std::sig_atomic_t close_requested;  // close button, SIGINT or SIGTERM
static bool quit_at_frame_start;                    // the program ends as the clock enters a frame
static Clock::time_point pace_wall;                 // wall time of the game clock's pace_at
static long long pace_at = -1;  // game clock (1/60 ms) paced from, -1 before the first step

static void CloseButton() {
    close_requested = 1;
}

static void CloseSignal(int) {
    close_requested = 1;
}

const char *SysStartup() {
    static char why[256];
    static bool started;
    DataDir();  // no data, no game: stop before anything opens

    // Text is plain 8-bit: names come from a file anyone may write, and the
    // library's default UTF-8 decoding loops for ever on some byte runs.
    set_uformat(U_ASCII);
    if (sys_headless) {
        // No display, keyboard or sound device: memory bitmaps only.
        if (!started && install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
            snprintf(why, sizeof why, "cannot start the graphics library: %s", allegro_error);
            return why;
        }
        started = true;
        return NULL;
    }

    DisplayNameWindow("data/video/icon.bmp");
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
        // Without a display Allegro fails here and leaves allegro_error empty.
        const char *display = getenv("DISPLAY");
        if (allegro_error[0])
            snprintf(why, sizeof why, "%s", allegro_error);
        else if (!display || !display[0])
            snprintf(why, sizeof why, "No X display to open (the DISPLAY variable is not set)");
        else
            snprintf(why, sizeof why, "Cannot open the X display \"%s\"", display);
        return why;
    }
    install_keyboard();
    LiveKeysStart();
    signal(SIGINT, CloseSignal);  // a recording still gets written
    signal(SIGTERM, CloseSignal);
    // The intro music plays on Allegro's software synthesiser with the
    // instrument patches that come with our data. Without digital voices
    // the synthesiser cannot start: then sound comes up without it. With a
    // damaged instrument set the music is off and the effects still play.
    std::string bad;
    std::string instruments = DataFile("audio/default.cfg");
    bool music = InstrumentsWhole(instruments.c_str(), &bad);
    if (!music) fprintf(stderr, "earthguard: %s is missing or damaged: the music is off\n", bad.c_str());
    std::string digmid = std::string("[sound]\nmidi_card = DIGI\npatches = ") + instruments + "\n";
    if (music) override_config_data(digmid.c_str(), (int)digmid.size());
    if (!music || InstallSoundQuietly(DIGI_AUTODETECT, MIDI_AUTODETECT) != 0) {
        static const char plain[] = "[sound]\n";
        override_config_data(plain, sizeof plain - 1);
        InstallSoundQuietly(DIGI_AUTODETECT, music ? MIDI_AUTODETECT : MIDI_NONE);
    }
    if (digi_card == DIGI_NONE) fprintf(stderr, "earthguard: no sound device found, playing without sound\n");
    if (const char *failed = DisplayOpen()) {
        snprintf(why, sizeof why, "%s", failed);
        allegro_exit();
        return why;
    }
    set_window_title("Earthguard");
    set_close_button_callback(CloseButton);
    return NULL;
}

void SysQuit(int status) {
    if (sys_headless || replay_playing) throw RunOver();
    RecordFinish(quit_at_frame_start);
    exit(status);
}

void SysFatal(const char *fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    fprintf(stderr, "earthguard: ");
    vfprintf(stderr, fmt, ap);
    fprintf(stderr, "\n");
    va_end(ap);
    exit(2);
}

// ---------------------------------------------------------------------------
// Clock
// ---------------------------------------------------------------------------

// One clock for the game's rules, live and headless: the virtual clock of
// headless.cpp. Live, it sleeps until the wall clock catches up at each step.
int SysMsec() {
    return VirtualMsec();
}

void SysSleep(int msec) {
    if (msec > 0) VirtualSleep(msec);
}

void SysWaitRetrace() {
    VirtualWaitRetrace();
}

// Sleeps until the wall clock reaches game time t. A machine that falls
// more than 50 ms behind (a stall, loading) is not raced to catch up: the
// game slows down instead, from where it is.
void LiveSleepUntil(long long t) {
    Clock::time_point now = Clock::now();
    Clock::time_point due = pace_wall + std::chrono::nanoseconds((t - pace_at) * 1000000 / 60);
    if (pace_at < 0 || now > due + std::chrono::milliseconds(50)) {
        pace_wall = now;
        pace_at = t;
        return;
    }
    std::this_thread::sleep_until(due);
}

// A close request ends the program here, before the frame runs, so that a
// recording can say exactly where. The viewer of a replay may hold it here.
void LiveFrameStart(long f) {
    bool held = false;
    for (;;) {
        if (close_requested) {
            quit_at_frame_start = true;
            SysQuit(0);
        }
        bool viewer_holds = LiveKeysAtFrame(f);
        DisplayKeys();  // F11 or Alt+Enter switches between full screen and window
        if (!viewer_holds) break;
        held = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (held) {  // pace afresh from here
        pace_at = -1;
        LiveSleepUntil((long long)f * 1000);
    }
}

// ---------------------------------------------------------------------------
// Display
// ---------------------------------------------------------------------------

void SysPresent(BITMAP *b) {
    if (sys_headless) {
        VirtualPresent(b);
        return;
    }
    DisplayShow(b);
}

void SysSetPalette(const RGB *p) {
    memcpy(shown, p, sizeof shown);
    if (sys_headless)
        VirtualSetPalette(p);
    else
        DisplaySetPalette(p);
}

// Allegro's fades step a 64-level mix on its 70 Hz retrace counter, speed/2
// levels a tick. Here the mix follows the same time line, one step a frame.
static void Fade(const RGB *from, const RGB *to, int speed) {
    PALETTE src, mix;
    memcpy(src, from, sizeof src);
    int start = SysMsec();
    for (;;) {
        int level = (SysMsec() - start) * 70 / 1000 * speed / 2;
        if (level >= 64) break;
        for (int i = 0; i < PAL_SIZE; i++) {
            mix[i].r = src[i].r + (to[i].r - src[i].r) * level / 64;
            mix[i].g = src[i].g + (to[i].g - src[i].g) * level / 64;
            mix[i].b = src[i].b + (to[i].b - src[i].b) * level / 64;
            mix[i].filler = 0;
        }
        SysSetPalette(mix);
        SysWaitRetrace();
    }
    SysSetPalette(to);
}

void SysFadeIn(const RGB *p, int speed) {
    PALETTE target;
    memcpy(target, p, sizeof target);
    Fade(black_palette, target, speed < 1 ? 1 : speed);
}

void SysFadeOut(int speed) {
    Fade(shown, black_palette, speed < 1 ? 1 : speed);
}

// ---------------------------------------------------------------------------
// Keyboard
// ---------------------------------------------------------------------------

// Live, the keyboard is read only as the clock enters a frame, into the
// same key buffer a script fills.
int SysReadKey() {
    return VirtualReadKey();
}

void SysClearKeybuf() {
    VirtualClearKeybuf();
}

int SysKeyReleases(int k) {
    return VirtualKeyReleases(k);
}

// ---------------------------------------------------------------------------
// Sound
// ---------------------------------------------------------------------------

void SysPlaySample(SAMPLE *s, int vol, int pan, int freq) {
    if (!s) return;
    if (sys_headless)
        VirtualPlaySample(s, vol, pan, freq);
    else
        play_sample(s, vol, pan, freq, 0);
}

void SysPlayMidi(MIDI *m, bool loop) {
    if (sys_headless)
        VirtualSetMidi(true);
    else
        play_midi(m, loop);
}

void SysStopMidi() {
    if (sys_headless)
        VirtualSetMidi(false);
    else
        stop_midi();
}
