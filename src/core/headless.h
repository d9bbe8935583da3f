// The virtual machine behind the platform layer in headless runs: a virtual
// clock with scripted keys, a kept picture instead of a display, and a log
// instead of a sound device. Only platform.cpp calls these.
#pragma once

#include <allegro.h>

int VirtualMsec();
void VirtualSleep(int msec);
void VirtualWaitRetrace();
void VirtualPresent(BITMAP *b);
int VirtualReadKey();
void VirtualClearKeybuf();
int VirtualKeyReleases(int k);
void VirtualPlaySample(SAMPLE *s, int vol, int pan, int freq);
void VirtualSetMidi(bool playing);
void VirtualSetPalette(const RGB *p);
