// Platform layer, live side and dispatch. See platform.h.

#include "core/platform.h"
#include "core/headless.h"
#include "platform/display.h"
#include "platform/sound.h"

#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

using Clock = std::chrono::steady_clock;

bool sys_headless;
int sys_gfx_card = GFX_AUTODETECT;

static const Clock::time_point start_time = Clock::now();
static PALETTE shown;                     // the palette on display
static volatile bool close_requested;     // the window's close button was clicked
static Clock::time_point frame_base;      // start of the current run of steady frames
static long long frames_since_base = -1;  // frames paced since frame_base

static void CloseButton() {
    close_requested = true;
}

// The close button ends the program at the next wait, between two frames;
// a full screen / window switch asked for also happens there.
static void CheckClose() {
    if (close_requested) SysQuit(0);
    DisplayKeys();
}

const char *SysStartup() {
    static char why[256];
    static bool started;

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
    // The intro music plays on Allegro's software synthesiser with the
    // instrument patches that come with our data. Without digital voices
    // the synthesiser cannot start: then sound comes up without it.
    static const char digmid[] = "[sound]\nmidi_card = DIGI\npatches = data/audio/default.cfg\n";
    override_config_data(digmid, sizeof digmid - 1);
    if (InstallSoundQuietly(DIGI_AUTODETECT, MIDI_AUTODETECT) != 0) {
        static const char plain[] = "[sound]\n";
        override_config_data(plain, sizeof plain - 1);
        InstallSoundQuietly(DIGI_AUTODETECT, MIDI_AUTODETECT);
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
    if (sys_headless) throw RunOver();
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

int SysMsec() {
    if (sys_headless) return VirtualMsec();
    return (int)std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_time).count();
}

void SysSleep(int msec) {
    if (msec <= 0) return;
    if (sys_headless) {
        VirtualSleep(msec);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(msec));
    CheckClose();
}

static Clock::time_point FrameTime(long long n) {
    return frame_base + std::chrono::nanoseconds(n * 1000000000LL / 60);
}

// X11 has no real retrace wait, so frames are paced at 60 per second from
// the monotonic clock, sleeping until each frame's start. A frame that comes
// late is caught up; after a long stall (loading, a pause, a caption held
// for seconds) the pacing starts afresh instead of racing to catch up.
void SysWaitRetrace() {
    if (sys_headless) {
        VirtualWaitRetrace();
        return;
    }
    Clock::time_point now = Clock::now();
    if (frames_since_base < 0 || now - FrameTime(frames_since_base) > std::chrono::milliseconds(50)) {
        frame_base = now;
        frames_since_base = 0;
    }
    frames_since_base++;
    std::this_thread::sleep_until(FrameTime(frames_since_base));
    CheckClose();
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

int SysReadKey() {
    if (sys_headless) return VirtualReadKey();
    while (!keypressed()) SysSleep(5);
    return readkey();
}

void SysClearKeybuf() {
    if (sys_headless)
        VirtualClearKeybuf();
    else
        clear_keybuf();
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
