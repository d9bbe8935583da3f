// Frame clock: the once-a-frame wait with its six tick flags and the pause,
// the wait, and the random numbers.

#include "core/core.h"
#include "platform/platform.h"

#include <cstdint>

int msss, mss, mss2, ms, msf, msff;
bool synss, syns, syns2, syn, synf, synff;

// A raised flag is re-armed at the start of the next frame, so ticks are at
// least one frame plus their period apart.
static void Rearm(bool &flag, int &stamp) {
    if (flag) stamp = SysMsec();
    flag = false;
}

static void Raise(bool &flag, int stamp, int period) {
    flag = SysMsec() - stamp > period;
}

void Sync() {
    Rearm(synss, msss);
    Rearm(syns, mss);
    Rearm(syns2, mss2);
    Rearm(syn, ms);
    Rearm(synf, msf);
    Rearm(synff, msff);

    SysWaitRetrace();

    Raise(synss, msss, 3000);
    Raise(syns, mss, 500);
    Raise(syns2, mss2, 1100);
    Raise(syn, ms, 150);
    Raise(synf, msf, 80);
    Raise(synff, msff, 5);

    // Pause: P holds the game, without drawing, until R is held.
    if (key[KEY_P])
        while (!key[KEY_R]) SysSleep(10);
}

void wait(int msec) {
    int start = SysMsec();
    for (int left = msec; left > 0; left = msec - (SysMsec() - start)) SysSleep(left);
}

// The classic portable generator of the C standard: 15 bits a draw, and the
// same sequence on every run.
static uint32_t rand_next = 1;

void ClockReset() {
    msss = mss = mss2 = ms = msf = msff = 0;
    synss = syns = syns2 = syn = synf = synff = false;
    rand_next = 1;
}

int Random(int n) {
    rand_next = rand_next * 1103515245 + 12345;
    int r = (int)((rand_next / 65536) % 32768);
    if (n + 1 == 0) return 0;  // never asked for; guards the division
    return r % (n + 1);        // truncating: never negative, also for n + 1 < 0
}
