// Platform layer: the only code that touches the edges of the machine
// (library start-up, display, retrace wait, palette and fades, keyboard
// buffer, clock, sound and music).
//
// Live, these talk to Allegro on X11 and a monotonic clock. Headless, the
// same calls run on a virtual clock counted in frames of 1000/60 ms, with no
// display, keyboard or sound device: keys come from a script, pictures are
// kept for screenshots, and sounds are only logged. The game code above never
// knows which one it runs on. The key state array key[] is Allegro's own;
// headless, the script writes it.
#pragma once

#include "platform/paths.h"  // where the game's files are: DataFile, ScoresFile, UserDataFile

#include <allegro.h>
#include <string>

extern bool sys_headless;    // run on the virtual clock with no devices
extern int sys_gfx_card;     // GFX_AUTODETECT, GFX_AUTODETECT_WINDOWED or GFX_AUTODETECT_FULLSCREEN
extern bool replay_playing;  // keys come from a recording; the player's table is left alone

// Start-up and shutdown

// Starts the library, keyboard, sound and the display. Returns NULL
// on success, else why the display could not be opened (the library is shut
// down again then).
const char *SysStartup();
[[noreturn]] void SysQuit(int status);             // ends the program (headless: the run)
[[noreturn]] void SysFatal(const char *fmt, ...);  // prints a message, exit status 2

// Clock

int SysMsec();            // monotonic milliseconds since start-up
void SysSleep(int msec);  // sleeps msec milliseconds, never spinning
void SysWaitRetrace();    // waits for the start of the next frame, 60 per second

// Display

void SysPresent(BITMAP *b);               // shows the top-left 320x256 of b, scaled to the display
void SysSetPalette(const RGB *p);         // makes p the displayed palette at once
void SysFadeIn(const RGB *p, int speed);  // fades from black to p, as Allegro's fade_in
void SysFadeOut(int speed);               // fades the displayed palette to black

// Keyboard

int SysReadKey();           // waits for a key press: scancode << 8 | ASCII code
void SysClearKeybuf();      // forgets the key presses not read yet
int SysKeyReleases(int k);  // how often key k has been let go since start-up (auto-repeat aside)

// Sound

void SysPlaySample(SAMPLE *s, int vol, int pan, int freq);  // fire and forget, never looped
void SysPlayMidi(MIDI *m, bool loop);
void SysStopMidi();

// ---------------------------------------------------------------------------
// Headless control, used by the headless runner and the tests
// ---------------------------------------------------------------------------

struct RunOver {};  // thrown by the clock or readkey when a headless run has reached its end

// One played sound, as the headless log keeps it.
struct SoundEvent {
    SAMPLE *sample;
    int vol, pan, freq;
    long frame;
};

// The last frame a headless run can reach, about 46 hours of play (the
// game's millisecond clock is an int, good for 24 days).
const long HEADLESS_MAX_FRAMES = 10000000;

void HeadlessReset();  // frame 0, no key held, no script, no shots, no frame limit, empty logs
// A frame number as options and scripts give it: digits only, 0 to HEADLESS_MAX_FRAMES.
bool HeadlessParseFrame(const std::string &s, long *frame);
bool HeadlessParseScript(const std::string &text, std::string *err);
bool HeadlessLoadScript(const char *path, std::string *err);
void HeadlessSetFrameLimit(long frames);  // the run ends when the clock reaches this frame
void HeadlessAddShot(long frame, const std::string &path);
bool HeadlessFinish();  // saves the screenshots still pending; false if any was not saved

long HeadlessFrame();                    // frame of the virtual clock
BITMAP *HeadlessPicture();               // the last presented picture, 320x256
const RGB *HeadlessPalette();            // the palette on display now
long HeadlessPresents();                 // pictures presented since the reset
bool HeadlessMidiPlaying();              // the music is playing
int HeadlessSoundCount();                // sounds played since the reset
const SoundEvent *HeadlessSound(int i);  // the i-th of the last 256 sounds played (0 = oldest kept)
int HeadlessPlays(SAMPLE *s);            // how often s was played since the reset

// Saves the picture in p's colours as an 8-bit BMP or PNG, by the file's ending.
bool SavePicture(const std::string &path, BITMAP *b, const RGB *p);
