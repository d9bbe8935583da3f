// The game clock with its keys behind the platform layer, for headless and
// live runs, and the virtual machine of headless runs: a kept picture instead
// of a display, and a log instead of a sound device. Only the platform layer
// calls these.
#pragma once

#include <allegro.h>

int VirtualMsec();
void VirtualSleep(int msec);
void VirtualWaitRetrace();
void VirtualPresent(BITMAP *b);
int VirtualReadKey();
void VirtualClearKeybuf();
void VirtualKeyReleased(int k);  // a live key was let go
int VirtualKeyReleases(int k);
void VirtualPlaySample(SAMPLE *s, int vol, int pan, int freq);
void VirtualSetMidi(bool playing);
void VirtualSetPalette(const RGB *p);
void VirtualBufferKey(int scancode, int ascii);  // a live key press, readable from this frame on

// The key's script name; spare (8 bytes) holds "K" and the scancode for keys without one.
const char *HeadlessKeyName(int scancode, char *spare);

// Live side of the clock (platform.cpp). Times are in the clock's units of
// 1/60 ms since start-up.
void LiveSleepUntil(long long t);  // sleeps until the wall clock reaches t
void LiveFrameStart(long f);       // the clock has reached frame f: read the keyboard
